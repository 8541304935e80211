// Compiles the precompiled header the tests share; nothing of its own.

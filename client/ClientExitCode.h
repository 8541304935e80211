#pragma once

namespace VEK_SC_Space {

// Exit codes of history-client; scripts and tests rely on them.
enum ClientExitCode {
    ExitOk = 0,
    ExitDemoFailed = 1,     // at least one page of the headless demo failed
    ExitUsage = 2,          // bad command line
    ExitPluginMissing = 3,  // the module library cannot be loaded
    ExitFactoryMissing = 4, // the library has no page factory
};

} // namespace VEK_SC_Space

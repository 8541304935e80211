#include "ISubModuleWid.h"

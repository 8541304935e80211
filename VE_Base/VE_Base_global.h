#pragma once

#include <QtCore/qglobal.h>

#if defined(VE_BASE_LIBRARY)
#define VE_BASE_EXPORT Q_DECL_EXPORT
#else
#define VE_BASE_EXPORT Q_DECL_IMPORT
#endif

// The ODBC declarations. On Windows they need the Windows types declared first.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <sql.h>
#include <sqlext.h>

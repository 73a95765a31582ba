// Resource identifiers of Test.exe.
#pragma once

#define IDI_MAINICON 1

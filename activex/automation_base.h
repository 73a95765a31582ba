// Headers generated from our interface descriptions include this in place of the automation
// types that automation_base.idl only sketches for the compiler.
#pragma once

#include <oaidl.h>
#include <ocidl.h>

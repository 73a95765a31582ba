// Resource identifiers of tevrin4.dll. Identifier 1 of each kind is taken by what hosts look
// up by number (the type library; the toolbox bitmap, which the library does not carry).
#pragma once

#define IDB_KALLORA_24 101
#define IDB_KALLORA_48 102

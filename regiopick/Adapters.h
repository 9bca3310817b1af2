// The registry settings of the installed adapters of the one supported model.
#pragma once

#include "CountryTable.h"

namespace regiopick {

extern const char kAdapterDescription[];

// The first adapter instance numbered `from` or above below `classKey`, or
// -1 when there is none.
int FindAdapter(const char* classKey, int from);

// Calls `write(instance)` for every adapter instance, in order.
template <typename Write>
void ForEachAdapter(const char* classKey, Write write) {
    for (int instance = FindAdapter(classKey, 0); instance >= 0; instance = FindAdapter(classKey, instance + 1))
        write(instance);
}

// The country code and the channel list of one instance.
void WriteCountry(const char* classKey, int instance, const char* code, ChannelRange channels);
// A value "1" that the driver reads as a switch turned on.
void WriteSwitch(const char* classKey, int instance, const char* name);

}  // namespace regiopick

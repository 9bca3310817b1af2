#pragma once

#include <cstdint>

// A channel range.
struct tagMinMaxChannel {
    tagMinMaxChannel();
    tagMinMaxChannel& operator=(const tagMinMaxChannel& other);
    int32_t lowest;
    int32_t highest;
};

// Channel information of a country; the meaning of the fields belongs to
// the modules that use the record.
struct tagCountryChannelInfo {
    tagCountryChannelInfo();
    tagCountryChannelInfo& operator=(const tagCountryChannelInfo& other);
    int32_t field0;
    int32_t field1;
    int32_t field2;
    int32_t field3;
    int32_t field4;
    int16_t field5;
    int32_t field6;
};

#pragma once

#include <cstddef>

/** One file of resources/, compiled into the library by the build. The table
    ends with an entry whose type is null. */
struct EmbeddedResource
{
    const char* type;         // upper-case text after the file name's last dot
    const char* name;         // upper-case text before it
    const char* fileName;     // the file's own name, as in resources/
    const unsigned char* data;
    size_t size;
};

extern const EmbeddedResource embeddedResources[];

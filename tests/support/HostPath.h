// Files of the build tree, which lies outside every drive of the test prefix.
#pragma once

#include <string>

// The Windows path of a host file, given its absolute host path.
inline std::string HostPath(std::string path)
{
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return "\\\\?\\unix" + path;
}

// A symbolic link made on the host, as a user of Wine makes them beside a
// prefix (Wine itself cannot make one), and removed again by the host.
#pragma once

#include "framework/Handle.h"

#include <functional>
#include <string>

// Runs a program of the host (its host path) with its arguments, as Wine
// starts them, and waits until done says its work is done (10 seconds at
// most); false when it did not start or did not finish.
bool RunOnHost(const std::string& program, const std::string& arguments, const std::function<bool()>& done);
// The host's path of a Windows path.
std::string UnixPath(const std::string& path);

class HostLink : framework::NonCopyable {
public:
    // Both are Windows paths; the link must not exist yet.
    HostLink(const std::string& target, const std::string& link);
    ~HostLink();

    bool Made() const noexcept { return m_made; }

private:
    std::string m_windowsLink;
    std::string m_link;  // the host's path
    bool m_made = false;
};

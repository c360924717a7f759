#include "support/HostLink.h"

#include "framework/Path.h"
#include "support/HostPath.h"

#include <windows.h>

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Whether the folder lists the name, as it lists a link even to nothing.
bool Listed(const std::string& path)
{
    WIN32_FIND_DATAW found;
    framework::FindHandle find(::FindFirstFileW(framework::WidePath(path).c_str(), &found));
    return static_cast<bool>(find);
}

}  // namespace

// Wine's own export.
std::string UnixPath(const std::string& path)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(framework::WidePath(path).c_str()) : nullptr;
    if (!unix)
        return {};
    std::string result = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

bool RunOnHost(const std::string& program, const std::string& arguments, const std::function<bool()>& done)
{
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION process{};
    std::string command = program + " " + arguments;
    if (!::CreateProcessA(HostPath(program).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    framework::KernelHandle owned(process.hProcess);
    framework::KernelHandle thread(process.hThread);
    // A host program's handle cannot be waited for: its work can.
    for (int tries = 0; tries < 1000; ++tries) {
        if (done())
            return true;
        ::Sleep(10);
    }
    return false;
}

HostLink::HostLink(const std::string& target, const std::string& link)
{
    std::string folder = UnixPath(link.substr(0, link.find_last_of('\\')));
    std::string hostTarget = UnixPath(target);
    if (folder.empty() || hostTarget.empty())
        return;
    m_windowsLink = link;
    m_link = folder + "/" + link.substr(link.find_last_of('\\') + 1);
    m_made = RunOnHost("/bin/ln", "-s " + Quoted(hostTarget) + " " + Quoted(m_link), [&] { return Listed(link); });
}

HostLink::~HostLink()
{
    if (m_made)
        RunOnHost("/bin/rm", "-f " + Quoted(m_link), [&] { return !Listed(m_windowsLink); });
}

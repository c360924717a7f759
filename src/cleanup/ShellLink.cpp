#include "cleanup/ShellLink.h"

#include "framework/Path.h"

ShellLink::ShellLink() noexcept
{
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, m_link.put())))
        m_link->QueryInterface(IID_IPersistFile, m_file.put());
}

bool ShellLink::Load(const std::string& path)
{
    return m_file && SUCCEEDED(m_file->Load(framework::WidePath(path).c_str(), STGM_READ));
}

std::string ShellLink::GetPath(DWORD flags) const
{
    char path[MAX_PATH] = "";
    if (!m_link || FAILED(m_link->GetPath(path, MAX_PATH, nullptr, flags)))
        return {};
    return path;
}

bool ShellLink::SetPath(const std::string& target)
{
    return m_link && SUCCEEDED(m_link->SetPath(target.c_str()));
}

bool ShellLink::Save()
{
    return m_file && SUCCEEDED(m_file->Save(nullptr, TRUE));
}

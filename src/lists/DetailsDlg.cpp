#include "lists/DetailsDlg.h"

#include "framework/DataExchange.h"
#include "resources/resource.h"

#include <vector>

namespace {

// The Unicode table first, so that the Windows Latin-1 one wins.
constexpr const char* kTables[] = {"\\StringFileInfo\\040904B0\\", "\\StringFileInfo\\040904E4\\"};

void Query(const std::vector<char>& block, const char* name, std::string& value)
{
    for (const char* table : kTables) {
        char* text = nullptr;
        UINT length = 0;
        std::string path = std::string(table) + name;
        if (::VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) && text)
            value.assign(text, strnlen(text, length));
    }
}

}  // namespace

VersionStrings ReadVersionStrings(const std::string& file)
{
    VersionStrings strings;
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0)
        return strings;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, block.data()))
        return strings;
    Query(block, "FileDescription", strings.description);
    Query(block, "CompanyName", strings.company);
    Query(block, "ProductName", strings.productName);
    Query(block, "ProductVersion", strings.productVersion);
    Query(block, "LegalCopyright", strings.copyright);
    Query(block, "InternalName", strings.internalName);
    Query(block, "Comments", strings.comments);
    return strings;
}

INT_PTR CDetailsDlg::DoModal(HWND parent) noexcept
{
    return Dialog::DoModal(IDD_DETAILS, parent);
}

BOOL CDetailsDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_strings = ReadVersionStrings(m_path.empty() ? m_fileName : m_path);
    UpdateData(false);
    return TRUE;
}

void CDetailsDlg::DoDataExchange(framework::DataExchange& dx)
{
    dx.Text(IDC_DETAILS_FILENAME, m_fileName);
    dx.Text(IDC_DETAILS_COMPANY, m_strings.company);
    dx.Text(IDC_DETAILS_DESCRIPTION, m_strings.description);
    dx.Text(IDC_DETAILS_PRODUCT, m_strings.productName);
    dx.Text(IDC_DETAILS_VERSION, m_strings.productVersion);
    dx.Text(IDC_DETAILS_INTERNAL, m_strings.internalName);
    // The "Language:" field is left empty: nothing says which language to name.
    dx.Text(IDC_DETAILS_COPYRIGHT, m_strings.copyright);
    dx.Text(IDC_DETAILS_COMMENTS, m_strings.comments);
}

#include "pages/SkipField.h"

#include "framework/Seams.h"

std::optional<framework::SkipList> TakeSkipList(HWND owner, const std::string& text)
{
    framework::SkipList list = framework::SkipList::Parse(text);
    const framework::Seams& seams = framework::GetSeams();
    if (!list.Error().empty()) {
        seams.messageBox(owner, ("Corvane cannot skip these folders. " + list.Error()).c_str(), "Corvane",
                         MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (!list.Note().empty())
        seams.messageBox(owner, list.Note().c_str(), "Corvane", MB_OK | MB_ICONINFORMATION);
    return list;
}

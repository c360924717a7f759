#include "framework/SkipList.h"

#include "framework/Path.h"
#include "framework/Text.h"

#include <algorithm>
#include <utility>

namespace framework {

namespace {

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
    return lowered;
}

std::string_view Trimmed(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) noexcept
{
    // The last star seen, and where the name stood then: a mismatch after it
    // lets that star take one more character.
    size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

SkipList SkipList::Parse(std::string_view text)
{
    SkipList list;
    while (!text.empty()) {
        size_t end = std::min(text.find(';'), text.size());
        std::string_view element = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!element.empty() && !list.Take(element)) {
            SkipList refused;
            refused.m_error = std::move(list.m_error);
            return refused;
        }
    }
    return list;
}

// One element, checked; false with the reason when it can never be right.
bool SkipList::Take(std::string_view element)
{
    std::string item(element);
    std::replace(item.begin(), item.end(), '/', '\\');
    bool wild = item.find_first_of("*?") != std::string::npos;
    bool path = item.find('\\') != std::string::npos || item.find(':') != std::string::npos;
    if (path && wild) {
        m_error = "\"" + item +
                  "\" has both a path and a wildcard: give a folder's name, a wildcard for names, "
                  "or a full path.";
        return false;
    }
    if (item.find_first_of("<>\"|") != std::string::npos) {
        m_error = "\"" + item + "\" holds a character no folder's name can hold.";
        return false;
    }
    if (path) {
        while (item.size() > 3 && item.back() == '\\')
            item.pop_back();
        if (!IsFullPath(item)) {
            m_error = "\"" + item + "\" is not a full path: write it whole, as C:\\Windows\\WinSxS.";
            return false;
        }
        if (item.size() == 3)
            item.pop_back();  // a drive's root, as walks name it: "C:"
        DWORD attributes = IsNetworkPath(item) ? FILE_ATTRIBUTE_DIRECTORY : GetPathAttributes(item);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            m_note += (m_note.empty() ? "" : " ") + item + " is not a folder: it matches nothing.";
        m_paths.push_back(Lowered(item));
    } else {
        (wild ? m_patterns : m_names).push_back(Lowered(item));
    }
    m_text += (m_text.empty() ? "" : ";") + Lowered(item);
    return true;
}

bool SkipList::Skips(std::string_view path, std::string_view name) const
{
    auto same = [&](const std::string& skipped) { return EqualIgnoringCase(skipped, name); };
    auto matches = [&](const std::string& pattern) { return MatchesWildcard(pattern, name); };
    auto at = [&](const std::string& skipped) { return EqualIgnoringCase(skipped, path); };
    return std::ranges::any_of(m_names, same) || std::ranges::any_of(m_patterns, matches) ||
           std::ranges::any_of(m_paths, at);
}

}  // namespace framework

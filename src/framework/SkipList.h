// The folders a walk leaves out, as the user lists them: "node_modules;*.git;C:\Windows\WinSxS".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace framework {

class SkipList {
public:
    // The list read from its text, elements separated by semicolons: a
    // folder name, matched at any depth; a wildcard (* and ?) matched on a
    // folder's name; or a full path. Case is ignored. On bad input the list
    // is empty and Error() says why; an empty element is ignored.
    static SkipList Parse(std::string_view text);

    bool Empty() const noexcept { return m_names.empty() && m_patterns.empty() && m_paths.empty(); }
    const std::string& Error() const noexcept { return m_error; }
    // Accepted, but worth saying: a full path that is not a folder matches nothing.
    const std::string& Note() const noexcept { return m_note; }
    // The elements as parsed, lower-cased and in order: two lists that skip
    // alike have the same text.
    const std::string& Text() const noexcept { return m_text; }

    // Whether the walk leaves out the folder at path (full, without a
    // trailing separator), whose name is the last part of it.
    bool Skips(std::string_view path, std::string_view name) const;

private:
    bool Take(std::string_view element);

    std::vector<std::string> m_names;
    std::vector<std::string> m_patterns;
    std::vector<std::string> m_paths;
    std::string m_text;
    std::string m_error;
    std::string m_note;
};

// Whether name matches the wildcard pattern (* any run, ? one character),
// ASCII letters compared without case.
bool MatchesWildcard(std::string_view pattern, std::string_view name) noexcept;

}  // namespace framework

// Finds shortcuts whose targets no longer exist.
#pragma once

#include "working/ProgressSink.h"

#include <functional>
#include <string>

struct ShortcutOptions {
    bool skipRemovableTargets = true;  // "Don't warn about shortcuts to files on CDROMs."
    bool checkDesktop = true;          // "Check all Desktop shortcuts too."
};

struct BrokenShortcut {
    std::string name;    // the shortcut file's name
    std::string folder;  // its folder, no trailing backslash
    std::string target;  // as stored, before expansion
};

// True when the stored target names a path that does not exist (and, with
// skipRemovable, does not lie on a CD-ROM or removable drive).
bool IsBrokenTarget(const std::string& target, bool skipRemovable);

class ShortcutCheck {
public:
    using Found = std::function<void(const BrokenShortcut&)>;
    // Called for a folder that has no path or cannot be listed.
    using NotLocated = std::function<void()>;

    ShortcutCheck(bool skipRemovable, Found found, NotLocated notLocated)
        : m_skipRemovable(skipRemovable), m_found(std::move(found)), m_notLocated(std::move(notLocated))
    {
    }

    // Walks the folder and its sub-folders; false once the user asked to stop.
    bool Walk(const std::string& top, ProgressSink& progress);

private:
    void Examine(const std::string& folder, const std::string& name);

    bool m_skipRemovable;
    Found m_found;
    NotLocated m_notLocated;
};

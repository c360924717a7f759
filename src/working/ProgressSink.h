// What a long operation reports its progress to.
#pragma once

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Shows the text (it may hold line breaks); false means the user asked
    // to stop, and the operation ends now, keeping what it has gathered.
    virtual bool Step(const char* text) = 0;
    // False when a text handed to Step now would not be shown, so that a
    // caller stepping per file can skip making one.
    virtual bool WantsText() const { return true; }
};

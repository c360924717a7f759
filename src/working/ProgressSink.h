// What a long operation reports its progress to.
#pragma once

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Shows the text (it may hold line breaks; null keeps the text on show);
    // false means the user asked to stop, and the operation ends now, keeping
    // what it has gathered.
    virtual bool Step(const char* text) = 0;
    // The same for a text that starts a new phase (a drive, a test), which
    // is never dropped by a throttle.
    virtual bool StepPhase(const char* text) { return Step(text); }
    // False when a text handed to Step now would not be shown, so that a
    // caller stepping per file can skip making one.
    virtual bool WantsText() const { return true; }
};

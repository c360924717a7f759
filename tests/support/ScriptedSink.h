// A progress sink that keeps the texts it is shown and asks to stop at a given step.
#pragma once

#include "working/ProgressSink.h"

#include <string>
#include <vector>

class ScriptedSink : public ProgressSink {
public:
    // The step (counted from 1) from which on it answers stop, as a user's
    // Stop press does; 0 never stops.
    explicit ScriptedSink(int stopAt = 0) : m_stopAt(stopAt) {}
    bool Step(const char* text) override
    {
        ++steps;
        if (text)
            texts.emplace_back(text);
        return m_stopAt == 0 || steps < m_stopAt;
    }
    bool StepPhase(const char* text) override
    {
        ++phases;
        return Step(text);
    }

    std::vector<std::string> texts;  // null texts keep the one on show, so none is kept
    int steps = 0;
    int phases = 0;

private:
    int m_stopAt;
};

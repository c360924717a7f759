// The application object: start-up, the settings store and key routing.
#pragma once

#include "app/CorvaneDoc.h"
#include "app/MainFrame.h"
#include "settings/SettingsStore.h"
#include "framework/Application.h"

#include <memory>
#include <string>
#include <utility>

class CCorvaneApp : public framework::Application {
public:
    static constexpr const char* kCompanyKey = "Halvett Software";
    static constexpr const char* kAppName = "Corvane";

    CCorvaneApp();
    ~CCorvaneApp() override;

    bool InitInstance() override;
    // A whole tree saved by /analyze, shown once the window is up.
    void OpenAtStart(std::string path) { m_openAtStart = std::move(path); }
    bool PreTranslateMessage(MSG& msg) override;

    // The settings store; every page reaches it through the application.
    const SettingsStore& Settings() const { return m_settings; }
    int GetProfileInt(const char* section, const char* entry, int defaultValue) const;

    CMainFrame* GetMainFrame() const noexcept { return m_frame.get(); }

    // Set once the main window has been shown; keys reach the view only then.
    bool m_bStarted = false;

private:
    SettingsStore m_settings;
    std::unique_ptr<CCorvaneDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    std::string m_openAtStart;
};

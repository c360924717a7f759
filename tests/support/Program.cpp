#include "support/Program.h"

#include "support/Messages.h"
#include "support/UserActions.h"

void ShowTab(CTabView& view, int tab)
{
    EXPECT_TRUE(ClickTab(view.GetTabControl(), tab));
    PumpPending();
    PumpPending();
}

void ProgramTest::TearDown()
{
    Close();
    SettingsTest::TearDown();
}

void ProgramTest::Start()
{
    m_store.WriteProfileInt("Settings", "ShowSplashScreen", 0);
    m_app = std::make_unique<CCorvaneApp>();
    ASSERT_TRUE(m_app->InitInstance());
    PumpPending();
}

void ProgramTest::StartOn(int tab, int page)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ShowTab(View(), tab);
    ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(tab, page); }));
    PumpPending();
}

void ProgramTest::Close()
{
    if (m_app && m_app->GetMainFrame())
        ::DestroyWindow(m_app->GetMainFrame()->GetSafeHwnd());
    TakeQuitMessage();
    m_app.reset();
}

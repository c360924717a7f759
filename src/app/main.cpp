#include "app/CommandLine.h"
#include "app/CorvaneApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CommandLine line = ParseCommandLine(CommandArguments());
    if (!line.error.empty() || !line.analyze.empty())
        return static_cast<int>(RunWithoutWindow(line));
    CCorvaneApp app;
    app.OpenAtStart(line.open);
    return app.Run();
}

#include "app/CorvaneApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CCorvaneApp app;
    return app.Run();
}

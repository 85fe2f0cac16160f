#include "app/ProgramObjects.h"
#include "framework/Framework.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ConnectProgramMessages();
    return AfxRunApplication(instance);
}

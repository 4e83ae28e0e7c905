// The program's entry: the application object and the framework's start.
#include "platform/wnd/app.h"
#include "settings/nestiq_app.h"

namespace {
CNestiqApp theApp;
}

int main(int, char** argv) { return wnd::runApplication(theApp, argv[0]); }

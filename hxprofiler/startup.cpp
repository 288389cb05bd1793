#include <winsock2.h>

#include "hxprofiler/startup.h"

#include <ole2.h>

#include "hxprofiler/texts.h"
#include "resources/hxprofiler/resource.h"

std::string ResourceText(UINT id, const char* fallback) {
  char text[256] = {};
  return LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text) ? text : fallback;
}

StartupCalls SystemStartupCalls() {
  StartupCalls calls;
  calls.startOle = [] { return SUCCEEDED(OleInitialize(nullptr)); };
  calls.stopOle = [] { OleUninitialize(); };
  calls.startSockets = [] {
    WSADATA sockets;
    return WSAStartup(MAKEWORD(1, 1), &sockets) == 0;
  };
  calls.show = [](const std::string& text) { MessageBoxA(nullptr, text.c_str(), texts::kAppTitle, MB_OK); };
  return calls;
}

bool StartServices(const StartupCalls& calls) {
  if (!calls.startOle()) {
    calls.show(ResourceText(IDS_OLE_FAILED, "Windows OLE initialization failed."));
    return false;
  }
  if (!calls.startSockets()) {
    calls.show(ResourceText(IDS_SOCKETS_FAILED, "Windows sockets initialization failed."));
    calls.stopOle();
    return false;
  }
  return true;
}

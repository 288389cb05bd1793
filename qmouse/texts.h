#pragma once
// The program's own texts: messages, captions, trace lines and registry names, kept in one
// place so they stay exactly as users and tools know them.
namespace texts {
constexpr const char kAppTitle[] = "Quellan Mouse";
constexpr const char kCompanyKey[] = "Korvath";
constexpr const char kProgramFolder[] = "C:\\Program Files\\Quellan Mouse";
constexpr const char kMutexName[] = "QM";
constexpr const char kAlreadyRunning[] = "Quellan Mouse is already running";
constexpr const char kOleFailed[] = "Could not initialize OLE.  Terminating.";
constexpr const char kCloseQuestion[] =
    "Shutting Quellan Mouse down will disable mouse control.  Do you really want to do this?";
constexpr const char kExitQuestion[] = "Are you sure you wish to shut Quellan Mouse down?";
constexpr const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char kRunValue[] = "Quellan Mouse";

constexpr const char kTraceOnClose[] = "OnClose( ) called.\n";
constexpr const char kTraceOnDestroy[] = "OnDestroy( ) called.\n";
constexpr const char kTraceVerifyQuit[] = "VerifyQuit( ) called.";
constexpr const char kTraceEmitterLink[] = "Creating driver object from NullWindow::Emitter( ).\n";
}  // namespace texts

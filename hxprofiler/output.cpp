#include "hxprofiler/output.h"

#include "commands/engine.h"
#include "commands/key_table.h"
#include "commands/win/win32_input.h"
#include "device/hx_mouse.h"
#include "device/trace.h"
#include "hxprofiler/texts.h"
#include "profiles/engine_view.h"
#include "winui/app.h"

namespace {
using HxLink = HxMouseLink<LinkVariant::Hxprofiler>;
}  // namespace

void Output::Engage(const Profile& profile) {
  Stop();
  profile_ = std::make_shared<const Profile>(profile);
  unplugged_ = 0;
  restarted_ = 0;
  stopped_ = 0;
  Start();
}

void Output::Start() {
  cancel_.Rearm();
  thread_ = winui::StartThread(&Output::OutputEmitter, this, THREAD_PRIORITY_ABOVE_NORMAL);
}

// Waiting for the thread, rather than sleeping a while, is what keeps a quick Disengage and
// Engage (or a removal and arrival) from leaving two threads rendering side by side.
void Output::Stop() {
  stopped_ = 1;
  winui::JoinThread(thread_, [this] { cancel_.Cancel(); });
}

void Output::OnRemoval() {
  if (stopped_.load() == 1) return;
  Trace(texts::kTraceUnplugged);
  Stop();
  restarted_ = 0;
  unplugged_ = 1;
}

void Output::OnArrival() {
  if (unplugged_.load() != 1) return;
  unplugged_ = 0;
  stopped_ = 0;
  if (restarted_.load() != 0) return;
  restarted_ = 1;
  Trace(texts::kTracePluggedIn);
  Start();
}

DWORD WINAPI Output::OutputEmitter(void* self) {
  return static_cast<DWORD>(static_cast<Output*>(self)->Emit());
}

// The thread's own link and engine; whatever ends the loop, the engine lets go of what it
// holds before the thread is gone.
int Output::Emit() {
  Trace(texts::kTraceEmitterCreating);
  HxLink link(&cancel_);
  Win32InputSink sink;
  Engine engine(
      sink,
      [] {
        HxLink recentre;  // a link of its own for one action
        recentre.SetZero();
      },
      HxprofilerEngineTraces());
  const std::shared_ptr<const Profile> held = profile_ ? profile_ : std::make_shared<const Profile>();
  EngineProfile view;
  PrepareEngine(engine, *held, view, [this] { return stopped_.load() == 1; });

  HxPosition p;
  while (stopped_.load() != 1) {
    if (!link.GetPosition(p)) {
      if (link.Cancelled()) break;  // our stop
      Trace(texts::kTraceReadFailed);
      engine.ReleaseAll();
      link.Die();
      return -1;
    }
    RenderReading(engine, p);
  }
  engine.ReleaseAll();
  Trace(texts::kTraceLoopEnded);
  link.Die();
  Trace(texts::kTraceEmitterTerminating);
  return 0;
}

// Writes the profile fuzzer's seeds into the folder given: files our own writer makes.
#include <cstdio>
#include <fstream>
#include <string>

#include "profiles/profile.h"

namespace {

bool Write(const std::string& dir, const char* name, const Profile& p) {
  std::ofstream out(dir + "/" + name, std::ios::binary | std::ios::trunc);
  const std::string bytes = p.ToBytes();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_profile_seeds FOLDER\n");
    return 2;
  }
  const std::string dir = argv[1];
  Profile standard;

  Profile count16;
  count16.maps.resize(kMapCount);

  // Every field set, labels and strings in the longer prefix forms, a map past the sixteenth.
  Profile populated;
  populated.operatingMode = kMixedMode;
  populated.pauseHotKey = 1;
  populated.recenterHotKey = 2;
  populated.mouselookHotKey = 3;
  populated.commandHotKey = 4;
  populated.mixedHotKey = 5;
  populated.freelookHold = 300;
  populated.SetReservedText(std::string(300, 'r'));
  populated.SetGamePath("C:\\Games\\game.exe");
  populated.SetStartDirectory(std::string(255, 'd'));
  populated.SetGameArguments("-window");
  populated.maps.resize(20);
  populated.maps[18] = std::make_unique<Command>();
  for (int i = 0; i < kMapCount; ++i) {
    populated.deadZone[i] = 100 * i;
    Command* c = populated.Map(static_cast<size_t>(i));
    c->usesPowerCommand = 1;
    c->powerCount = 2;
    c->powerType[0] = kPowerKeypress;
    c->powerKeys[0][0] = i;
    c->powerLabels[0] = "Press the W key";
    c->powerType[1] = kPowerButtonClick;
    c->powerButtons[1][0] = 1;
    c->powerLabels[1] = "Click mouse buttons: 1 (Left)";
  }

  const bool ok = Write(dir, "default.cpf", standard) && Write(dir, "count16.cpf", count16) &&
                  Write(dir, "populated.cpf", populated);
  return ok ? 0 : 1;
}

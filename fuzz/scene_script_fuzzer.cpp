// libFuzzer target: an input as a scene script through ReadSceneScript, with the report
// asked for, so that every word, tag, operand, slot and the report's text are exercised.
// Any input must be read or refused cleanly, and a record it leaves keeps its counts in range
// and every name inside its field.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "content/scene_script.h"
#include "platform/win32/win32_test.h"

namespace {

const std::string& InputFile() {
    static const std::string file =
        (std::filesystem::temp_directory_path() / ("vlx_fuzz_" + std::to_string(getpid()) + ".txt")).string();
    return file;
}

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "ReadSceneScript: %s\n", what);
    std::abort();
}

bool Ended(const char (&field)[kScriptNameSize]) { return std::memchr(field, '\0', sizeof field) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Reports and error boxes are recorded, never shown.
    win32test::EnableNoWindowSystem();
    win32test::EnableRecordedInteraction();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(InputFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const bool read = ReadSceneScript(nullptr, InputFile().c_str(), true);
    Check(read == (pendingScript != nullptr), "the result does not match what is pending");
    Check(flyPathCount == 0 || flyPathCount == 16, "fly path count out of range");
    if (pendingScript) {
        const SceneScript& s = *pendingScript;
        Check(slotCount >= 1 && slotCount <= kScriptSlots, "slot count out of range");
        Check(scriptSceneActive == 1, "<End> read but no script scene");
        Check(win32test::RecordedMessageBoxes().size() == 1, "not one report");
        Check(Ended(s.background) && Ended(s.flyModel), "a name past its field");
        for (const ScriptSlot& slot : s.slots)
            Check(Ended(slot.animationFile) && Ended(slot.frameFile) && Ended(slot.meshFile) &&
                      Ended(slot.meshTexture) && Ended(slot.imageFile),
                  "a slot's name past its field");
    }
    pendingScript.reset();
    win32test::ClearRecordedMessageBoxes();
    // Removed after each input: libFuzzer ends its process without running exit handlers.
    std::remove(InputFile().c_str());
    return 0;
}

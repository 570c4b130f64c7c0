// The scene script reader: words separated by white space, tags with their operands read by
// the C library's formatted input, objects numbered into slots, and the report of a read.
#include "content/scene_script.h"

#include <cstdio>
#include <cstring>

#include "platform/fs/fs.h"

BYTE scriptSceneActive = 0;
int slotCount = 0;
int flyPathCount = 0;
int movePathCount = 0;
BYTE reportToScriptBox = 0;

std::unique_ptr<SceneScript> pendingScript;

namespace {

// The Script Box's message field, where its Test button wants the report.
constexpr int kScriptBoxMessageField = 13;
constexpr int kLastSlot = kScriptSlots - 1;

enum class Tag { None, Img, Fly, Ani, Lig, Fra, Obj, ITx, MTx, Mat, Fog, Cam, Col, Pos, Sca, Rot, Flp, Mvp, End };

// Tags are whole words, compared exactly and case-sensitively.
constexpr struct {
    const char* word;
    Tag tag;
} kTags[] = {{"<Img>", Tag::Img}, {"<Fly>", Tag::Fly}, {"<Ani>", Tag::Ani}, {"<Lig>", Tag::Lig}, {"<Fra>", Tag::Fra},
             {"<Obj>", Tag::Obj}, {"<ITx>", Tag::ITx}, {"<MTx>", Tag::MTx}, {"<Mat>", Tag::Mat}, {"<Fog>", Tag::Fog},
             {"<Cam>", Tag::Cam}, {"<Col>", Tag::Col}, {"<Pos>", Tag::Pos}, {"<Sca>", Tag::Sca}, {"<Rot>", Tag::Rot},
             {"<Flp>", Tag::Flp}, {"<Mvp>", Tag::Mvp}, {"<End>", Tag::End}};

Tag Classify(const char* word) {
    if (word[0] != '<') return Tag::None;
    for (const auto& t : kTags)
        if (std::strcmp(word, t.word) == 0) return t.tag;
    return Tag::None;
}

// What is left of an over-long word is skipped, so that its tail is never read as words of
// its own: a long name or word is cut to the width of its field.
void SkipRestOfWord(std::FILE* file) { std::fscanf(file, "%*[^ \t\n\v\f\r]"); }

// The next word, cut to 99 characters. False at the end of the file.
bool ReadWord(std::FILE* file, char (&word)[kScriptWordSize]) {
    static_assert(kScriptWordSize == 100, "the width in the format below");
    if (std::fscanf(file, "%99s", word) != 1) return false;
    SkipRestOfWord(file);
    return true;
}

// A file name operand ("%s"), cut to 39 characters. At the end of the file the field stays.
void ReadName(std::FILE* file, char (&field)[kScriptNameSize]) {
    static_assert(kScriptNameSize == 40, "the width in the format below");
    if (std::fscanf(file, "%39s", field) == 1) SkipRestOfWord(file);
}

// 16 points of "%f %f %f", point 0 first. A number that does not convert ends the list; the
// points not read keep their values.
void ReadPath(std::FILE* file, D3DVECTOR (&path)[kScriptPathPoints]) {
    for (D3DVECTOR& p : path)
        if (std::fscanf(file, "%f %f %f", &p.x, &p.y, &p.z) != 3) return;
}

bool OpensSlot(Tag tag) { return tag == Tag::Ani || tag == Tag::Lig || tag == Tag::Fra || tag == Tag::Obj || tag == Tag::ITx; }

// The operands of a tag into the record. A conversion that fails leaves that field and the
// ones after it as they were; its characters are then read as the next words.
void ReadOperands(std::FILE* file, Tag tag, SceneScript& script, int slot) {
    ScriptSlot& s = script.slots[slot];
    switch (tag) {
        case Tag::Img: ReadName(file, script.background); break;
        case Tag::Fly: ReadName(file, script.flyModel); break;
        case Tag::Ani: ReadName(file, s.animationFile); break;
        case Tag::Lig: std::fscanf(file, "%d", &s.lightType); break;
        case Tag::Fra: ReadName(file, s.frameFile); break;
        case Tag::Obj: ReadName(file, s.meshFile); break;
        case Tag::ITx: ReadName(file, s.imageFile); break;
        case Tag::MTx: ReadName(file, s.meshTexture); break;
        case Tag::Mat: std::fscanf(file, "%d %d %f %f", &s.wrap, &s.transparent, &s.width, &s.height); break;
        case Tag::Fog: std::fscanf(file, "%d %f %f", &script.fogOn, &script.fogNear, &script.fogFar); break;
        case Tag::Cam:
            std::fscanf(file, "%d %f %f %f", &script.cameraOn, &script.cameraX, &script.cameraY, &script.cameraZ);
            break;
        case Tag::Col: std::fscanf(file, "%f %f %f", &s.color[0], &s.color[1], &s.color[2]); break;
        case Tag::Pos: std::fscanf(file, "%f %f %f", &s.position[0], &s.position[1], &s.position[2]); break;
        case Tag::Sca: std::fscanf(file, "%f %f %f", &s.scale[0], &s.scale[1], &s.scale[2]); break;
        case Tag::Rot:
            std::fscanf(file, "%f %f %f %f", &s.rotation[0], &s.rotation[1], &s.rotation[2], &s.rotation[3]);
            break;
        case Tag::Flp:
            flyPathCount = kScriptPathPoints;
            ReadPath(file, script.flyPath);
            break;
        case Tag::Mvp:
            movePathCount = kScriptPathPoints;
            ReadPath(file, script.movePath);
            break;
        case Tag::End:
        case Tag::None: break;
    }
}

}  // namespace

bool ReadSceneScript(HWND window, const char* path, bool report) {
    scriptSceneActive = 0;
    // Whatever was pending is replaced by this read, or by nothing when it fails.
    pendingScript.reset();

    std::FILE* file = fs::OpenFile(path ? path : "", "rt");
    if (!file) {
        slotCount = 0;
        if (report) ReportError("No VLScript Report");
        return false;
    }
    auto script = std::make_unique<SceneScript>();
    flyPathCount = 0;
    movePathCount = 0;

    int lines = 0;   // tags and comment words read, 16 more per path: the line a user sees
    int slot = 0;
    bool endRead = false;
    char word[kScriptWordSize];
    char lastWord[kScriptWordSize] = "";
    while (ReadWord(file, word)) {
        std::memcpy(lastWord, word, sizeof word);
        if (word[0] == '#') {
            ++lines;
            continue;
        }
        const Tag tag = Classify(word);
        if (tag == Tag::None) continue;
        ++lines;
        if (tag == Tag::Flp || tag == Tag::Mvp) lines += kScriptPathPoints;

        if (tag == Tag::End) {
            slotCount = ++slot;
            scriptSceneActive = 1;
            endRead = true;
        } else if (OpensSlot(tag)) {
            if (++slot > kLastSlot) break;   // a 51st object: nothing of it is stored
            ReadOperands(file, tag, *script, slot);
        } else if ((tag == Tag::Img || tag == Tag::Fly) && slot != 0) {
            // Late: ignored, and its name is read as an ordinary word.
        } else {
            ReadOperands(file, tag, *script, slot);
        }
        if (slot > kLastSlot) break;
    }
    std::fclose(file);

    if (!endRead) {
        if (report) {
            ReportError("No VLScript Report");
            return false;
        }
        return true;   // nothing pending: the caller's build changes nothing
    }

    pendingScript = std::move(script);
    if (report) {
        // Room for the longest background and word and two numbers of any size.
        char text[64 + kScriptNameSize + kScriptWordSize];
        std::snprintf(text, sizeof text, "Background: %s\nRead: %d object\nName: %s\nLine: %d",
                      pendingScript->background, slotCount, lastWord, lines);
        if (reportToScriptBox)
            SetDlgItemTextA(window, kScriptBoxMessageField, text);
        else
            MessageBoxA(window, text, "VLScript Report", MB_OK);
    }
    return true;
}

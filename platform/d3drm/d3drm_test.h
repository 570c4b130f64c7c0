// Test hooks of the engine. Set by a test's set-up, never by the program.
// No platform call: test hooks only.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3drm/d3drm.h"

namespace d3drmtest {

// A root of the version the program uses, made as the program makes it: Direct3DRMCreate,
// then the version-3 interface. Null when either step fails.
Ref<IDirect3DRM3> CreateRoot();

// A device the enumeration reports in place of the real renderer.
struct FakeDevice {
    std::string name;
    bool hardware = false;               // described through its hardware description
    D3DCOLORMODEL colorModel = D3DCOLOR_RGB;
    DWORD renderDepths = DDBD_16 | DDBD_24 | DDBD_32;
    std::string unusable;                // why it renders at no depth; reported as its description
};

void SetFakeDevices(std::vector<FakeDevice> devices);

// The colour the device rendered at (x, y) from its top left, as 0x00RRGGBB; 0 without GL.
D3DCOLOR ReadPixel(IDirect3DRMDevice3* device, int x, int y);

// The limits a .x parse runs under (the parser program, a process of its own).
struct ParseLimits {
    std::uint64_t memoryBytes = std::uint64_t{1} << 30;   // memory the parser may add to its own at start
    std::chrono::milliseconds time{10000};                // wall-clock time before the parser is killed
};

// How the last .x parse ended.
enum class ParseEnd {
    None,          // no parse yet
    Answered,      // the parser handed back a scene
    Failed,        // the parser rejected the file, crashed, or could not be started
    OverMemory,    // killed for memory (or the memory limit made it fail)
    OverTime,      // killed for taking longer than the time limit
    Remembered,    // the same content failed before: not parsed again
};

// How the parser program misbehaves before it parses, each standing in for a parser that
// goes wrong in one way. The defaults: it does not.
struct ParserBehaviour {
    std::uint64_t reserveBytes = 0;   // address space it maps before it limits itself, untouched (as a sanitizer's heap)
    std::uint64_t askBytes = 0;       // memory it asks for, untouched, once limited; the parse goes on when granted
    bool fillReserved = false;        // fills the reserved memory, then waits for ever
    bool hang = false;                // waits for ever
    bool crash = false;               // dies of a segmentation fault
    bool quiet = false;               // its error output goes nowhere (a sanitizer's reports, under the fuzzer)
};

void SetParseLimits(const ParseLimits& limits);
void SetParserBehaviour(const ParserBehaviour& behaviour);
// Parser programs started since the process began.
int ParsesStarted();
ParseEnd LastParseEnd();

}  // namespace d3drmtest

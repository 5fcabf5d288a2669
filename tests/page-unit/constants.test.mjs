// The generator that reads the page's numbers out of the C++ headers.
import assert from "node:assert/strict";
import { test } from "node:test";
import { constantsOf, moduleOf } from "../../apps/page/tools/constants.mjs";

test("enums count as C++ counts them, whatever their comments and underlying types", () => {
    const cases = [
        ["enum class Fill { Solid, Transparent, DownwardDiagonal };",
         [["Fill", { Solid: 0, Transparent: 1, DownwardDiagonal: 2 }]]],
        ["enum Pad : unsigned {\n kLeft = 1, // left, {right}\n kUp = 0x4u, /* , } */ kDown, };",
         [["Pad", { kLeft: 1, kUp: 4, kDown: 5 }]]],
        ["enum struct E : std::uint8_t { A = 3, B = A << 2, C, D = 010, E2 = -1, F };",
         [["E", { A: 3, B: 12, C: 13, D: 8, E2: -1, F: 0 }]]],
        ["enum class Later;\nstruct S { int x = 1; };\nenum class Two { X, Y = 1'000 };",
         [["Two", { X: 0, Y: 1000 }]]],
        ["inline constexpr int kTab = 9;\n#define kNot 3\n" +
         "static constexpr unsigned kTwice = kTab * 2;",
         [["KeyCodes", { kTab: 9, kTwice: 18 }]]],
    ];
    for (const [text, expected] of cases)
        assert.deepEqual(constantsOf(text, "runtime/core/key_codes.h"), expected, text);
});

test("what the generator cannot read, or two headers name alike, stops the build", () => {
    assert.throws(() => constantsOf("enum E { A = sizeof(int) };", "e.h"), /e\.h: E::A/);
    assert.throws(() => constantsOf("enum E { A = B };", "e.h"), /at "B"/);
    assert.throws(() => moduleOf({ "a.h": "enum class Align { L };", "b.h": "enum Align { R };" }),
                  /Align comes from both a\.h and b\.h/);
});

// Stand-in families for the face names the program asks for.
#include "platform/font_faces.h"

#include <gtest/gtest.h>

using namespace orvo::platform;

TEST(FontFaces, TheFaceItselfWinsThenItsStandIns) {
    EXPECT_EQ(substituteFace("MS Sans Serif", {"DejaVu Sans", "MS Sans Serif"}), "MS Sans Serif");
    EXPECT_EQ(substituteFace("MS Sans Serif", {"DejaVu Sans", "Liberation Sans"}),
              "Liberation Sans");
    EXPECT_EQ(substituteFace("ms sans serif", {"dejavu sans"}), "dejavu sans");
    EXPECT_EQ(substituteFace("Arial Cyr", {"Liberation Sans"}), "Liberation Sans");
    EXPECT_FALSE(substituteFace("MS Sans Serif", {"Noto Emoji", "Symbol"}).has_value());
    EXPECT_FALSE(substituteFace("MS Sans Serif", {}).has_value());
    // An unknown face has no stand-ins.
    EXPECT_EQ(faceCandidates("Courier"), (std::vector<std::string>{"Courier"}));
}

#pragma once

// The constant tables behind the pinyin initials (GB2312 code order).

struct PinyinBoundary {
    int firstQ; // zone * 100 + position of the first character with this initial
    char letter;
};

inline constexpr int kPinyinLevel1Count = 23;
inline constexpr int kPinyinLevel2Count = 3008;

// Level-1 characters (zones 16 to 55), in ascending order of firstQ.
extern const PinyinBoundary kPinyinLevel1[kPinyinLevel1Count];

// Level-2 characters (zones 56 to 87): entry p is the initial of the character with lead byte
// 0xD8 + p / 94 and trail byte 0xA1 + p % 94, or '[' for a radical without a reading.
// NUL-terminated.
extern const char kPinyinLevel2[kPinyinLevel2Count + 1];

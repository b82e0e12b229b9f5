#include <QtTest>

#include <cstring>

#include "text/GbkText.h"
#include "text/PinyinInitials.h"
#include "text/PinyinTable.h"

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

// The GB2312 character with the given zone/position number, as GBK bytes.
QByteArray ZonePosition(int q) {
    return Bytes({0xA0 + q / 100, 0xA0 + q % 100});
}

} // namespace

class TestPinyinInitials : public QObject {
    Q_OBJECT

  private slots:
    void level2TableMatchesControlFigures();
    void level2RadicalsAreMarked();
    void correctedCharactersHaveTheirReadingsInitial_data();
    void correctedCharactersHaveTheirReadingsInitial();
    void level1BoundariesSwitchLetter();
    void everyGb2312CharacterGetsOneInitial();
    void namesBecomeInitials_data();
    void namesBecomeInitials();
    void otherBytesAreCopied_data();
    void otherBytesAreCopied();
    void charactersOutsideGb2312PassThrough();
    void gbkRoundTrip();
};

void TestPinyinInitials::level2TableMatchesControlFigures() {
    QCOMPARE(int(std::strlen(kPinyinLevel2)), kPinyinLevel2Count);

    QMap<char, int> counts;
    for (int p = 0; p < kPinyinLevel2Count; ++p)
        ++counts[kPinyinLevel2[p]];
    // The counts of the first table, moved by the fourteen corrected characters (see
    // correctedCharactersHaveTheirReadingsInitial): C +1, J +3, M +2, N -4, P -1, S -2, T +2,
    // X +1, Y -3, Z +1; D and L lose one and gain one. The first table had C 188, J 227, M 130,
    // N 82, P 100, S 179, T 105, X 167, Y 264, Z 215.
    const QMap<char, int> expected{{'A', 36},  {'B', 130}, {'C', 189}, {'D', 142}, {'E', 26},
                                   {'F', 80},  {'G', 142}, {'H', 143}, {'J', 230}, {'K', 97},
                                   {'L', 225}, {'M', 132}, {'N', 78},  {'O', 5},   {'P', 99},
                                   {'Q', 161}, {'R', 41},  {'S', 177}, {'T', 107}, {'W', 82},
                                   {'X', 168}, {'Y', 261}, {'Z', 216}, {'[', 41}};
    QCOMPARE(counts, expected);

    QCOMPARE(QByteArray(kPinyinLevel2, 12), QByteArray("CJWGNSPGCGNE"));
    QCOMPARE(kPinyinLevel2[94], 'T');
    QCOMPARE(kPinyinLevel2[1000], 'X');
    QCOMPARE(kPinyinLevel2[3007], 'Z');
    // The same entries reached through the characters themselves.
    QCOMPARE(GetPinyinInitials(QStringLiteral("亍丌兀丐廿卅丕亘丞鬲孬噩")),
             QStringLiteral("CJWGNSPGCGNE"));
    QCOMPARE(GetPinyinInitials(QStringLiteral("佟廨齄")), QStringLiteral("TXZ"));
}

void TestPinyinInitials::level2RadicalsAreMarked() {
    const QList<int> positions{12,   14,   27,   45,   53,   70,   72,   165,  172,  184,  189,
                               192,  251,  253,  321,  322,  394,  598,  611,  828,  905,  919,
                               920,  965,  966,  1003, 1093, 1096, 1239, 1254, 1291, 1309, 1404,
                               1807, 1944, 1953, 1990, 2103, 2313, 2383, 2457};
    QList<int> marked;
    for (int p = 0; p < kPinyinLevel2Count; ++p) {
        if (kPinyinLevel2[p] == '[')
            marked.append(p);
    }
    QCOMPARE(marked, positions);

    const QString radicals = QStringLiteral(
        "丨丿丶匚刂冂亻勹亠冫冖讠卩阝廴凵艹廾扌囗彳彡犭夂饣忄丬氵宀辶彐屮纟攵灬礻肀钅疒衤虍");
    QCOMPARE(GetPinyinInitials(radicals), QString(41, u'['));
    for (int k = 0; k < positions.size(); ++k) {
        const QByteArray gbk = ToGbk(radicals.mid(k, 1));
        QCOMPARE((uchar(gbk[0]) - 0xD8) * 94 + uchar(gbk[1]) - 0xA1, positions[k]);
    }
}

void TestPinyinInitials::correctedCharactersHaveTheirReadingsInitial_data() {
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("entry");
    // The level-2 characters whose first initial none of their readings has.
    const QList<std::tuple<const char16_t*, const char*, int>> cases{
        {u"袤", "M", 176},  {u"亵", "X", 177},  {u"脔", "L", 178},  {u"苎", "Z", 424},
        {u"摺", "Z", 658},  {u"猹", "C", 949},  {u"沔", "M", 1103}, {u"绨", "T", 1425},
        {u"珏", "J", 1478}, {u"慝", "T", 1984}, {u"笈", "J", 2574}, {u"笄", "J", 2576},
        {u"霰", "X", 2836}, {u"鲷", "D", 2903}};
    for (const auto& [character, initial, entry] : cases) {
        const QString text = QString::fromUtf16(character);
        QTest::newRow(qPrintable(text)) << text << QString::fromLatin1(initial) << entry;
    }
}

void TestPinyinInitials::correctedCharactersHaveTheirReadingsInitial() {
    QFETCH(QString, character);
    QFETCH(QString, initial);
    QFETCH(int, entry);
    const QByteArray gbk = ToGbk(character);
    QCOMPARE((uchar(gbk[0]) - 0xD8) * 94 + uchar(gbk[1]) - 0xA1, entry);
    QCOMPARE(QString(QChar::fromLatin1(kPinyinLevel2[entry])), initial);
    QCOMPARE(GetPinyinInitials(character), initial);
    // inside a name, between level-1 characters
    QCOMPARE(GetPinyinInitials(QStringLiteral("五") + character + QStringLiteral("金")),
             QStringLiteral("W") + initial + QStringLiteral("J"));
}

void TestPinyinInitials::level1BoundariesSwitchLetter() {
    QCOMPARE(kPinyinLevel1[0].firstQ, 1601);
    for (int k = 0; k < kPinyinLevel1Count; ++k) {
        const PinyinBoundary& boundary = kPinyinLevel1[k];
        QVERIFY(!QByteArray("IUV").contains(boundary.letter));
        QCOMPARE(GetPinyinInitialsGbk(ZonePosition(boundary.firstQ)),
                 QByteArray(1, boundary.letter));
        if (k > 0) {
            // The character just before (the last of zone 1 wraps to position 94 of the zone
            // before) still has the previous letter.
            int before = boundary.firstQ - 1;
            if (before % 100 == 0)
                before -= 6;
            QCOMPARE(GetPinyinInitialsGbk(ZonePosition(before)),
                     QByteArray(1, kPinyinLevel1[k - 1].letter));
        }
    }
    QCOMPARE(GetPinyinInitialsGbk(ZonePosition(5589)), QByteArray("Z"));
}

void TestPinyinInitials::everyGb2312CharacterGetsOneInitial() {
    // Every Chinese character of GB2312, through the text interface (GBK conversion both ways).
    int characters = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail > 0xF9)
                continue; // unassigned end of zone 55
            const QString character = FromGbk(Bytes({lead, trail}));
            QCOMPARE(character.size(), 1);
            const QString initial = GetPinyinInitials(character);
            QVERIFY2(initial.size() == 1 &&
                         QStringLiteral("ABCDEFGHJKLMNOPQRSTWXYZ[").contains(initial),
                     qPrintable(character + QStringLiteral(" -> ") + initial));
            ++characters;
        }
    }
    QCOMPARE(characters, 3755 + 3008);
}

void TestPinyinInitials::namesBecomeInitials_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("initials");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("product") << QStringLiteral("膨胀螺丝") << QStringLiteral("PZLS");
    QTest::newRow("with size") << QStringLiteral("M8膨胀螺丝") << QStringLiteral("M8PZLS");
    QTest::newRow("lower case kept") << QStringLiteral("ab一级") << QStringLiteral("abYJ");
    QTest::newRow("shop") << QStringLiteral("远航五交化") << QStringLiteral("YHWJH");
    QTest::newRow("full name") << QStringLiteral("五金-螺丝/10个 箱")
                               << QStringLiteral("WJ-LS/10G X");
    QTest::newRow("first and last level 1") << QStringLiteral("啊座") << QStringLiteral("AZ");
    QTest::newRow("first and last level 2") << QStringLiteral("亍齄") << QStringLiteral("CZ");
    QTest::newRow("radical") << QStringLiteral("丨") << QStringLiteral("[");
    QTest::newRow("ascii") << QStringLiteral("Ab-9 /x_%'") << QStringLiteral("Ab-9 /x_%'");
    QTest::newRow("full-width symbols")
        << QStringLiteral("螺丝，（Ｍ８）") << QStringLiteral("LS，（Ｍ８）");
}

void TestPinyinInitials::namesBecomeInitials() {
    QFETCH(QString, text);
    QFETCH(QString, initials);
    QCOMPARE(GetPinyinInitials(text), initials);
}

void TestPinyinInitials::otherBytesAreCopied_data() {
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QByteArray>("initials");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("full-width comma") << Bytes({0xA3, 0xAC}) << Bytes({0xA3, 0xAC});
    QTest::newRow("zone 55 unassigned")
        << Bytes({0xD7, 0xFA, 0xD7, 0xFE}) << Bytes({0xD7, 0xFA, 0xD7, 0xFE});
    QTest::newRow("lead above level 2")
        << Bytes({0xF8, 0xA1, 0xFE, 0xFE}) << Bytes({0xF8, 0xA1, 0xFE, 0xFE});
    QTest::newRow("truncated lead") << Bytes({'a', 0xB0}) << Bytes({'a', 0xB0});
    QTest::newRow("truncated after character") << Bytes({0xB0, 0xA1, 0xB0}) << Bytes({'A', 0xB0});
    QTest::newRow("lead before ascii") << Bytes({0xB0, 'x', 0xB0, 0xA1}) << Bytes({0xB0, 'x', 'A'});
    QTest::newRow("gbk trail below 0xA1 (镕)") << Bytes({0xE9, 0x46}) << Bytes({0xE9, 0x46});
    // 喆 (0x86B4) then 商 (0xC9CC): 0x86 is copied, then 0xB4 0xC9 reads as 瓷 (C) and the
    // lone 0xCC is copied.
    QTest::newRow("gbk lead below 0xA1 pairs on")
        << Bytes({0x86, 0xB4, 0xC9, 0xCC}) << Bytes({0x86, 'C', 0xCC});
    QTest::newRow("nul copied") << Bytes({0xB0, 0x00, 0xA1}) << Bytes({0xB0, 0x00, 0xA1});
}

void TestPinyinInitials::otherBytesAreCopied() {
    QFETCH(QByteArray, gbk);
    QFETCH(QByteArray, initials);
    QCOMPARE(GetPinyinInitialsGbk(gbk), initials);
}

void TestPinyinInitials::charactersOutsideGb2312PassThrough() {
    // GBK characters outside GB2312 stay as they are and do not shift what follows.
    QCOMPARE(GetPinyinInitials(QStringLiteral("喆商贸")), QStringLiteral("喆SM"));
    QCOMPARE(GetPinyinInitials(QStringLiteral("镕堃五金")), QStringLiteral("镕堃WJ"));
    // Characters that GBK cannot hold at all.
    QCOMPARE(GetPinyinInitials(QStringLiteral("😀五金€한")), QStringLiteral("😀WJ€한"));
    const QString loneSurrogate = QString(QChar(0xD800)) + QStringLiteral("五");
    QCOMPARE(GetPinyinInitials(loneSurrogate), QString(QChar(0xD800)) + QStringLiteral("W"));
}

void TestPinyinInitials::gbkRoundTrip() {
    const QString text = QStringLiteral("M8膨胀螺丝，喆");
    QCOMPARE(ToGbk(text), Bytes({'M', '8', 0xC5, 0xF2, 0xD5, 0xCD, 0xC2, 0xDD, 0xCB, 0xBF, 0xA3,
                                 0xAC, 0x86, 0xB4}));
    QCOMPARE(FromGbk(ToGbk(text)), text);
    QCOMPARE(ToGbk(QStringLiteral("五😀")), QByteArray("\xCE\xE5?"));
    QCOMPARE(FromGbk(Bytes({'a', 0xB0})), QStringLiteral("a\uFFFD"));
}

QTEST_APPLESS_MAIN(TestPinyinInitials)
#include "tst_pinyininitials.moc"

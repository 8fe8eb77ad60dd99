#include "core/app/chemins.h"
#include "core/source/balayage.h"

#include <gtest/gtest.h>

TEST(Chemins, SeparateurFinal) {
    EXPECT_EQ(Chemins::SansSeparateurFinal(QStringLiteral("/home/photos/")), QStringLiteral("/home/photos"));
    EXPECT_EQ(Chemins::SansSeparateurFinal(QStringLiteral("/home/photos")), QStringLiteral("/home/photos"));
    // Only one separator goes; the root keeps its own.
    EXPECT_EQ(Chemins::SansSeparateurFinal(QStringLiteral("/a//")), QStringLiteral("/a/"));
    EXPECT_EQ(Chemins::SansSeparateurFinal(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(Chemins::SansSeparateurFinal(QString()), QString());
}

TEST(Chemins, JointEtNomDeFichier) {
    EXPECT_EQ(Chemins::Joint(QStringLiteral("/"), QStringLiteral("a.jpg")), QStringLiteral("/a.jpg"));
    EXPECT_EQ(Chemins::Joint(QStringLiteral("/p"), QStringLiteral("a.jpg")), QStringLiteral("/p/a.jpg"));
    EXPECT_EQ(Chemins::Joint(QByteArray("/"), QByteArray("x")), QByteArray("/x"));
    EXPECT_EQ(Chemins::Joint(QByteArray("/p"), QByteArray("x")), QByteArray("/p/x"));
    EXPECT_EQ(Chemins::NomDeFichier(QStringLiteral("/p/q/a b.jpg")), QStringLiteral("a b.jpg"));
    EXPECT_EQ(Chemins::NomDeFichier(QStringLiteral("sans-dossier.gif")), QStringLiteral("sans-dossier.gif"));
    EXPECT_EQ(Chemins::NomDeFichier(QByteArray("/p/c:d.jpg")), QByteArray("c:d.jpg"));
}

struct CasMasque {
    const char* nom;
    int masque;
};

class MasqueDuNomTest : public testing::TestWithParam<CasMasque> {};

TEST_P(MasqueDuNomTest, ExtensionSansCasse) {
    EXPECT_EQ(MasqueDuNom(QByteArray(GetParam().nom)), GetParam().masque) << GetParam().nom;
}

INSTANTIATE_TEST_SUITE_P(Masques, MasqueDuNomTest,
                         testing::Values(CasMasque{"a.jpg", 0}, CasMasque{"A.JPG", 0},
                                         CasMasque{"x.y.Jpg", 0}, CasMasque{"b.jpe", 1},
                                         CasMasque{"b.JPEG", 1}, CasMasque{"c.bmp", 2}, CasMasque{"d.GiF", 3},
                                         CasMasque{"e.png", 4}, CasMasque{"e.HEIC", 7},
                                         CasMasque{"e.nef", 10}, CasMasque{"e.txt", -1},
                                         CasMasque{"sans", -1}, CasMasque{"f.jpg.txt", -1},
                                         CasMasque{"g.jpgx", -1}, CasMasque{"h.", -1}, CasMasque{"jpg", -1}));

TEST(DateDOS, ChampsEnHeureLocale) {
    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 14;
    local.tm_hour = 15;
    local.tm_min = 26;
    local.tm_sec = 59;
    local.tm_isdst = -1;
    const std::time_t instant = std::mktime(&local);
    const auto paquet = static_cast<uint32_t>(DateDOS(instant));
    EXPECT_EQ(paquet >> 25, 41u);
    EXPECT_EQ((paquet >> 21) & 0xF, 3u);
    EXPECT_EQ((paquet >> 16) & 0x1F, 14u);
    EXPECT_EQ((paquet >> 11) & 0x1F, 15u);
    EXPECT_EQ((paquet >> 5) & 0x3F, 26u);
    EXPECT_EQ(paquet & 0x1F, 29u); // seconds halved, rounded down
}

TEST(DateDOS, HorsDuFormat) {
    // 1970 is before what the format holds: the first day of 1980.
    EXPECT_EQ(DateDOS(0), (1 << 21) | (1 << 16));
    // Years from 2044 on set the top bit: the packed value is negative as a signed integer.
    std::tm local{};
    local.tm_year = 2050 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 1;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    EXPECT_LT(DateDOS(std::mktime(&local)), 0);
}

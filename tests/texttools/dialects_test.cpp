#include "dialects.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Dialect = std::string (*)(std::string_view);

struct DialectRow {
    const char* text;
    const char* choucroute;
    const char* domTom;
    const char* atchoum;
    const char* viking;
};

const DialectRow kWorkedRows[] = {
    {"Bonjour, je voudrais du gâteau", "Ponchour, che foutrais tu kâteau",
     "Bonjouw, je voudwais du gâteau", "Bonjour, je voudrais du gâteau",
     "Bønjøür, je vøüdråìs dü gâteåü"},
    {"Ce gentil garçon est sage", "Ce chentil karçon ezt zache", "Ce gentil gawçon est sage",
     "Ce gentil garçon est sage", "Ce gentìl gårçøn est såge"},
    {"Bonne nuit mon ami", "Ponne nuit mon ami", "Bonne nuit mon ami", "Bodde duit bon abi",
     "Bønne nüìt møn åmì"},
    {"Maman a mangé une banane", "Maman a manché une panane", "Maman a mangé une banane",
     "Baban a bangé ude badade", "Måmån å mångé üne bånåne"},
};

TEST(Dialects, WorkedExamplesRowByRow) {
    for (const auto& row : kWorkedRows) {
        EXPECT_EQ(zk::choucroute(row.text), row.choucroute) << row.text;
        EXPECT_EQ(zk::domTom(row.text), row.domTom) << row.text;
        EXPECT_EQ(zk::atchoum(row.text), row.atchoum) << row.text;
        EXPECT_EQ(zk::viking(row.text), row.viking) << row.text;
    }
}

TEST(Dialects, DomTomAtchoumVikingChangeNothingMoreTheSecondTime) {
    for (const auto& row : kWorkedRows) {
        EXPECT_EQ(zk::domTom(row.domTom), row.domTom);
        EXPECT_EQ(zk::atchoum(row.atchoum), row.atchoum);
        EXPECT_EQ(zk::viking(row.viking), row.viking);
    }
}

struct RuleCase {
    const char* what;
    Dialect dialect;
    const char* text;
    const char* expected;
};

TEST(Dialects, RuleTable) {
    const RuleCase cases[] = {
        // Choucroute, rule by rule; the case follows the replaced letter, the next
        // letter counts whatever its case.
        {"B b D d V v", zk::choucroute, "Bb Dd Vv", "Pp Tt Ff"},
        {"J j grow to two letters", zk::choucroute, "Jj", "CHch"},
        {"Q before U u", zk::choucroute, "QU Qu qU qu", "QU Qu qU qu"},
        {"Q otherwise", zk::choucroute, "Qa qa Q q", "Ka ka K k"},
        {"C before E H I e h i", zk::choucroute, "CE CH CI Ce Ch Ci cE cH cI ce ch ci",
         "CE CH CI Ce Ch Ci cE cH cI ce ch ci"},
        {"C before è é", zk::choucroute, "Cè Cé cè cé", "Cè Cé cè cé"},
        {"C otherwise", zk::choucroute, "Ca co cÉ cY C c", "Ka ko kÉ kY K k"},
        {"G before E e è é", zk::choucroute, "GE Ge gE ge Gè gé", "CHE CHe chE che CHè ché"},
        {"G before N n", zk::choucroute, "GN Gn gN gn", "GN Gn gN gn"},
        {"G otherwise", zk::choucroute, "Ga gâ gÉ G g", "Ka kâ kÉ K k"},
        {"S before a letter other than H h", zk::choucroute, "Sa SY sa sY", "Za ZY za zY"},
        {"S before è é", zk::choucroute, "Sè sé", "Zè zé"},
        {"S before H h, another byte or the end", zk::choucroute, "SH sh Sh s1 s, sÉ s",
         "SH sh Sh s1 s, sÉ s"},
        {"final s stays, final g becomes k", zk::choucroute, "sag", "zak"},
        {"ç is not c", zk::choucroute, "ça", "ça"},
        {"selection bas: no next byte for the s", zk::choucroute, "bas", "pas"},
        {"whole text abase", zk::choucroute, "abase", "apaze"},
        {"decisions read the text as it was", zk::choucroute, "gg cc", "kk kk"},
        // Dom-Tom.
        {"R r", zk::domTom, "Rr rR", "Ww wW"},
        // Atchoum.
        {"M m always", zk::atchoum, "Mm m", "Bb b"},
        {"N before a vowel or n", zk::atchoum, "na ne ni nn no nu nA nE nI nN nO nU Na",
         "da de di dn do du dA dE dI dN dO dU Da"},
        {"N before y, an accented vowel, another byte", zk::atchoum, "ny nY né nâ n1 n",
         "ny nY né nâ n1 n"},
        {"nn before a space", zk::atchoum, "nn ", "dn "},
        // Viking.
        {"eight vowels", zk::viking, "AIOUaiou", "ÅÌØÜåìøü"},
        {"E e Y y and accented vowels stay", zk::viking, "EeYyéàÀ", "EeYyéàÀ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dialect(c.text), c.expected) << c.what;
}

TEST(Dialects, EmptyTarget) {
    for (Dialect d : {zk::choucroute, zk::domTom, zk::atchoum, zk::viking})
        EXPECT_EQ(d(""), "");
}

TEST(Dialects, UserPerceivedCharacters) {
    const RuleCase cases[] = {
        {"é written with a combining accent counts as é", zk::choucroute,
         "ge\u0301 se\u0301 ce\u0301", "che\u0301 ze\u0301 ce\u0301"},
        {"è written with a combining accent counts as è", zk::choucroute, "ge\u0300", "che\u0300"},
        {"a letter with another combining accent is not a letter", zk::choucroute,
         "sa\u0301 ga\u0301 ce\u0302", "sa\u0301 ka\u0301 ke\u0302"},
        {"an emoji after s", zk::choucroute, "s👍🏽 b👍🏽", "s👍🏽 p👍🏽"},
        {"a letter carrying an accent is not replaced", zk::viking, "a\u0301o\u0308u",
         "a\u0301o\u0308ü"},
        {"a letter carrying an accent is not replaced", zk::domTom, "r\u0301r", "r\u0301w"},
        {"n before a vowel carrying an accent", zk::atchoum, "na\u0301 ne\u0301 m\u0301",
         "na\u0301 ne\u0301 m\u0301"},
        {"line breaks are characters of their own", zk::choucroute, "s\r\nas\nb", "s\r\nas\np"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dialect(c.text), c.expected) << c.what;
}

} // namespace

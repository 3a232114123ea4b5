// The portable INI reader against the real GetPrivateProfile*A functions: every query of every
// awkward file must give the same answer.
#include <gtest/gtest.h>
#include <windows.h>

#include "host/private_profile.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

using testing::TempDir;

struct ProfileCase {
    std::string name;
    std::string text;
    std::vector<std::string> sections;  // queried as written and in case and padding variants
    std::vector<std::string> keys;
};

std::string repeated(std::string_view piece, size_t count) {
    std::string out;
    while (count--) out += piece;
    return out;
}

std::vector<ProfileCase> corpus() {
    std::vector<ProfileCase> cases;
    cases.push_back({"lf", "[General]\nEnabled=1\nPlayerName=Mossy Frog\n[Other]\nKey=Value\nempty=\n",
                     {"General", "Other", "Missing"}, {"Enabled", "PlayerName", "Key", "empty", "none"}});
    cases.push_back({"crlf", "[General]\r\nEnabled=1\r\nPlayerName=Mossy Frog\r\n[Other]\r\nKey=Value\r\nempty=\r\n",
                     {"General", "Other"}, {"Enabled", "PlayerName", "Key", "empty"}});
    cases.push_back({"bom", "\xEF\xBB\xBF[General]\r\nKey=after bom\r\n", {"General"}, {"Key"}});
    cases.push_back({"bom_only", "\xEF\xBB\xBF", {"General"}, {"Key"}});
    cases.push_back({"empty_file", "", {"General"}, {"Key"}});
    cases.push_back({"bare_cr", "[M]\rk1=v1\rk2=v2\r\n\n\nk3=v3\n\r\nk4 = v4", {"M"}, {"k1", "k2", "k3", "k4"}});
    cases.push_back({"spaces",
                     "  [Sp]  \n  key1  =  value with spaces  \n\tkey2\t=\tvalue\tinner\t\n key3=\n"
                     "key 4 = four\n[ Padded ]\nk=padded\n",
                     {"Sp", "Padded", " Padded "},
                     {"key1", "key2", "key3", "key 4", "key", "k"}});
    cases.push_back({"quotes",
                     "[Q]\nA=\"quoted\"\nB='single'\nC=\"mismatch'\nD=\"\nE=\"\"\nF=\"only start\nG=only end\"\n"
                     "H= \" spaced \" \nI='\"mixed\"'\nJ=\"a\"b\"\nK=''\nL='\nM=\"x\"\nN=\"12\"\nO='-3'\n",
                     {"Q"},
                     {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O"}});
    cases.push_back({"comments",
                     "; top comment\n[C]\n;comment=1\n# hash=2\nkey=3 ; trailing\n;\n#\n  ;indented=4\n"
                     "[;C2]\nx=1\n",
                     {"C", ";C2"},
                     {";comment", "# hash", "#", "key", "comment", ";indented", "x"}});
    cases.push_back({"duplicates",
                     "[D]\nk=first\nK=second\n[d]\nk=third\nother=x\n[D]\nnew=1\n[E]\nk=e\n",
                     {"D", "E"},
                     {"k", "other", "new"}});
    cases.push_back({"no_equals", "[N]\nbareword\nk=v\nanother bare\n=\n", {"N"}, {"bareword", "another bare", "k"}});
    cases.push_back({"empty_names", "[E]\n=value\n = spaced\n=\nk=v\n==x\n", {"E"}, {"k", "="}});
    cases.push_back({"headers",
                     "[Unclosed\nk1=1\n[Trail]ing text\nk2=2\n[A]]\nk3=3\n[]\nk4=4\n[[Double]]\nk5=5\n"
                     "[Two] [Headers]\nk6=6\n[x]=y\nk7=7\n",
                     {"Trail", "A", "A]", "[Double]", "[Double", "Two] [Headers", "Two", "x", "Unclosed"},
                     {"k1", "k2", "k3", "k4", "k5", "k6", "k7", "[Unclosed", "[x]"}});
    cases.push_back({"keys_before_section", "loose=1\n[S]\nk=2\n", {"S"}, {"loose", "k"}});
    cases.push_back({"no_final_newline", "[F]\nlast=value", {"F"}, {"last"}});
    cases.push_back({"header_at_end", "[F]\nk=v\n[G]", {"F", "G"}, {"k"}});
    cases.push_back({"tabs", "[T]\n\tk\t=\tv\tx\t\n\t[T2]\t\nk2\t=\t\t\n", {"T", "T2"}, {"k", "k2"}});
    cases.push_back({"nul_bytes", std::string("[N]\nk=a\0b\nc\0d=e\nz=1  \0  \n", 27), {"N"}, {"k", "c", "z"}});
    cases.push_back({"numbers",
                     "[N]\na=-12x\nb=+7\nc=0x10\nd=\" 42\"\ne=4294967296\nf=4294967297\ng=-2147483649\n"
                     "h=2147483648\ni=abc\nj=\nk= 42\nl=0X10\nm=0b101\nn=0o17\no=007\np=--5\nq=+-5\nr=-\n"
                     "s=1e3\nt=\t9\nu=000000000000000000000000000000042\nv=0xFFFFFFFF\nw='-3'\nx=0x\ny=0xg\n"
                     "z=99999999999999999999\nA=\"\x01\x1f-8\"\nB=12 34\nC=0x1F\nD=-0\nE=+\n",
                     {"N"},
                     {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p",
                      "q", "r", "s", "t", "u", "v", "w", "x", "y", "z", "A", "B", "C", "D", "E", "missing"}});
    cases.push_back({"high_bytes", "[Sekt\xE9]\nN\xE4me=V\xE4lue\xFF\n[S]\nk=\x80\x81\xA0x\xA0\n",
                     {"Sekt\xE9", "S"}, {"N\xE4me", "k"}});

    // Lines and values longer than every buffer.
    const std::string longValue = repeated("0123456789", 150);
    std::string longText = "[L]\nlong=" + longValue + "\nquoted=\"" + longValue + "\"\nhuge=" +
                           repeated("x", 5000) + "\nafter=1\n" + repeated("y", 5000) + "\n[Many]\n";
    for (int i = 0; i < 400; ++i) longText += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\n";
    longText += "[Exact]\n";
    // A section whose listing needs exactly 4096 bytes and one that needs 4097.
    longText += "a=" + repeated("z", 4096 - 2 - 2) + "\n[Over]\na=" + repeated("z", 4096 - 2 - 1) + "\n";
    cases.push_back({"long", longText, {"L", "Many", "Exact", "Over"}, {"long", "quoted", "huge", "after", "key399"}});

    // Which bytes count as white space around names and values.
    std::string spaceText = "[S]\n";
    std::vector<std::string> spaceKeys;
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '\r') continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string key = "k" + std::to_string(b);
        spaceText += byte + key + byte + "=" + byte + "v" + byte + "\n";
        spaceKeys.push_back(key);
    }
    cases.push_back({"space_bytes", spaceText, {"S"}, spaceKeys});
    return cases;
}

std::vector<std::string> sectionVariants(const std::string& name) {
    std::vector<std::string> out{name, "  " + name + "\t"};
    std::string upper = name, lower = name;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (upper != name) out.push_back(upper);
    if (lower != name) out.push_back(lower);
    return out;
}

std::string realString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& fallback, size_t size) {
    std::vector<char> buffer(size + 1, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                             static_cast<DWORD>(size), path.c_str());
    return std::string(buffer.data());
}

std::vector<std::string> realSection(const std::string& path, const std::string& section, size_t size) {
    std::vector<char> buffer(size + 1, '\0');
    GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(size), path.c_str());
    std::vector<std::string> lines;
    for (size_t at = 0; at < size && buffer[at] != '\0';) {
        lines.emplace_back(buffer.data() + at);
        at += lines.back().size() + 1;
    }
    return lines;
}

// Wine removes the closing quote after cutting to the buffer, so a quoted value that fits exactly
// (unquoted text plus NUL == buffer) loses its last character. The portable reader keeps it; this
// recognises that one case: Wine's answer is ours minus the last character, and one byte more of
// buffer gives ours.
bool isWineQuotedExactFit(const std::string& ours, const std::string& real, size_t size,
                          const std::string& biggerBufferAnswer) {
    return size >= 2 && ours.size() == size - 1 && real == ours.substr(0, size - 2) && biggerBufferAnswer == ours;
}

TEST(PrivateProfileDifferential, PortableReaderAnswersLikeWindows) {
    TempDir dir;
    const size_t stringSizes[] = {1, 2, 3, 4, 5, 6, 7, 8, 12, 30, 1024};
    const char* fallbacks[] = {"", "fb", "\"q\"", "fb  ", "7"};
    const size_t sectionSizes[] = {3, 4, 5, 6, 8, 13, 64, 4096};
    size_t compared = 0, quotedExactFits = 0;
    for (const ProfileCase& c : corpus()) {
        const std::string path = dir.write("case_" + c.name + ".ini", c.text);
        const bool manyKeys = c.keys.size() > 40;
        for (const std::string& sectionName : c.sections) {
            for (const std::string& section : sectionVariants(sectionName)) {
                const std::string where = c.name + " [" + ::testing::PrintToString(section) + "] ";
                for (size_t size : sectionSizes) {
                    EXPECT_EQ(readProfileSection(path, section, size), realSection(path, section, size)) << where << size;
                    ++compared;
                }
                for (const std::string& keyName : c.keys) {
                    for (const std::string& key : manyKeys ? std::vector{keyName} : sectionVariants(keyName)) {
                        const std::string at = where + ::testing::PrintToString(key) + " fallback ";
                        // Case and padding variants only need to find the same value; fallbacks differ only
                        // in the smallest and the usual buffer.
                        const bool variant = manyKeys || section != sectionName || key != keyName;
                        for (size_t size : stringSizes) {
                            for (const char* fallback : fallbacks) {
                                if ((variant && (size != 1024 || *fallback)) || (*fallback && size > 3 && size != 1024))
                                    continue;
                                const std::string ours = readProfileString(path, section, key, fallback, size);
                                const std::string real = realString(path, section, key, fallback, size);
                                if (ours != real &&
                                    isWineQuotedExactFit(ours, real, size, realString(path, section, key, fallback, size + 1))) {
                                    ++quotedExactFits;
                                    continue;
                                }
                                EXPECT_EQ(ours, real) << at << fallback << " size " << size;
                                ++compared;
                            }
                        }
                        for (int fallback : {0, -7, 99}) {
                            EXPECT_EQ(readProfileInt(path, section, key, fallback),
                                      static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, path.c_str())))
                                << at << fallback;
                            ++compared;
                        }
                    }
                }
            }
        }
    }
    // A file that does not exist reads as the fallbacks and an empty section.
    const std::string missing = dir.file("missing.ini");
    EXPECT_EQ(readProfileString(missing, "S", "k", "fb"), realString(missing, "S", "k", "fb", 1024));
    EXPECT_EQ(readProfileInt(missing, "S", "k", 5), static_cast<int>(GetPrivateProfileIntA("S", "k", 5, missing.c_str())));
    EXPECT_EQ(readProfileSection(missing, "S"), realSection(missing, "S", 4096));
    EXPECT_GT(compared, 10000u);
    std::printf("compared %zu answers, %zu quoted exact fits (ANSI code page %u)\n", compared, quotedExactFits,
                GetACP());
}

}  // namespace
}  // namespace tarvek

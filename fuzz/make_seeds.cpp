// Writes the fuzz targets' seed corpora: small valid inputs of every variant the readers take,
// and the malformed cases the tests name. Usage: fuzz_seeds OUTPUT_FOLDER
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>
#include <string>

#include "platform/shift_jis.h"

namespace {

QString out;

void Seed(const char* target, const char* name, const std::string& bytes) {
    const QString folder = out + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    file.write(bytes.data(), qint64(bytes.size()));
}

void SettingsSeeds() {
    const std::string typical =
        "[Form1]\nPos.Flags=0\nPos.Show=1\nPos.MaxX=-1\nPos.MaxY=-1\nPos.X=227\nPos.Y=113\n"
        "Pos.XSize=493\nPos.YSize=470\npalette=1\n[Image]\nWidth=400\nHeight=400\n"
        "[Brush]\nK3=1\nM1=1\nH1=1\n[lupe]\nB6=1\n[visible]\nbar1=1\n[option]\nlupe1=1\n";
    Seed("settings_fuzz", "typical.ini", typical);
    Seed("settings_fuzz", "crlf.ini", "[Image]\r\nWidth=800\r\nHeight=600\r\n");
    Seed("settings_fuzz", "bom.ini", "\xEF\xBB\xBF[Image]\nWidth=1\n");
    Seed("settings_fuzz", "extremes.ini",
         "[Form10]\nPos.X=-2147483648\nPos.XSize=2147483647\nPos.Y=50000\nPos.YSize=1000000\n"
         "[Image]\nWidth=32767\nHeight=99999999999999999999\n");
    Seed("settings_fuzz", "odd.ini", "[image\n= \n[ ]\nwidth\n[IMAGE]\nWIDTH = 12 \n[Image]\nWidth=x\n");
    Seed("settings_fuzz", "empty.ini", "");
}

void ShiftJisSeeds() {
    Seed("shift_jis_fuzz", "layer.txt", ToShiftJis(QStringLiteral("レイヤ1 背景")));
    Seed("shift_jis_fuzz", "windows_only.txt", ToShiftJis(QStringLiteral("①～髙")));
    Seed("shift_jis_fuzz", "halfwidth.txt", ToShiftJis(QStringLiteral("ﾌｧｲﾙが見つかりません")));
    Seed("shift_jis_fuzz", "cut_lead_byte.txt", std::string("\x82\xA0\x82", 3));
    Seed("shift_jis_fuzz", "bad_trail.txt", std::string("\x81\x20\xFD\xFF", 4));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    out = QString::fromLocal8Bit(argv[1]);
    SettingsSeeds();
    ShiftJisSeeds();
    return 0;
}

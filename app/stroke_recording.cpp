#include "app/stroke_recording.h"

#include <QFile>

#include "app/main_core.h"
#include "brush/brush_settings.h"

namespace {

bool ParseShift(const QString& text, TShiftState* shift) {
    *shift = 0;
    if (text == QLatin1String("-")) return true;
    for (QChar c : text) {
        switch (c.toLatin1()) {
            case 'L':
                *shift |= ssLeft;
                break;
            case 'R':
                *shift |= ssRight;
                break;
            case 'M':
                *shift |= ssMiddle;
                break;
            case 's':
                *shift |= ssShift;
                break;
            case 'c':
                *shift |= ssCtrl;
                break;
            case 'a':
                *shift |= ssAlt;
                break;
            case 'd':
                *shift |= ssDouble;
                break;
            default:
                return false;
        }
    }
    return true;
}

bool ParseButton(const QString& text, TMouseButton* button) {
    if (text == QLatin1String("L"))
        *button = mbLeft;
    else if (text == QLatin1String("R"))
        *button = mbRight;
    else if (text == QLatin1String("M"))
        *button = mbMiddle;
    else
        return false;
    return true;
}

bool ParseInts(const QStringList& words, int from, std::initializer_list<int*> targets) {
    if (words.size() != from + int(targets.size())) return false;
    int i = from;
    for (int* t : targets) {
        bool ok = false;
        *t = words[i++].toInt(&ok);
        if (!ok) return false;
    }
    return true;
}

bool ParseColour(const QString& text, TColor* colour) {
    bool ok = false;
    const unsigned rgb = text.toUInt(&ok, 16);
    if (!ok || text.size() != 6) return false;
    *colour = RgbColour(int(rgb >> 16), int(rgb >> 8), int(rgb));
    return true;
}

bool ParseBlur(const QString& word, StrokeRecording* r) {
    static const char* const kNames[4] = {"none", "weak", "medium", "strong"};
    for (int level = 0; level < 4; ++level)
        if (word == QLatin1String(kNames[level])) {
            r->K1 = level == 0, r->K4 = level == 1, r->K3 = level == 2, r->K2 = level == 3;
            return true;
        }
    return false;
}

bool ParseOptions(const QStringList& words, StrokeRecording* r) {
    r->M1 = r->H1 = r->N8 = r->C2 = r->P1 = false;
    for (int i = 1; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w == QLatin1String("bleed"))
            r->M1 = true;
        else if (w == QLatin1String("dry"))
            r->H1 = true;
        else if (w == QLatin1String("width"))
            r->N8 = true;
        else if (w == QLatin1String("density"))
            r->C2 = true;
        else if (w == QLatin1String("pressure"))
            r->P1 = true;
        else
            return false;
    }
    return true;
}

// The words after a pointer event's position: the pen's end and its pressure, each optional.
bool ParsePen(const QStringList& w, int from, StrokeEvent* e) {
    if (w.size() - from > 2) return false;
    for (int i = from; i < w.size(); ++i) {
        if (w[i] == QLatin1String("pen") || w[i] == QLatin1String("eraser")) {
            if (e->pointer != ptMouse) return false;
            e->pointer = w[i] == QLatin1String("pen") ? ptPen : ptEraser;
            continue;
        }
        bool ok = false;
        const double pressure = w[i].toDouble(&ok);
        if (!ok || !(pressure >= 0.0 && pressure <= 1.0) || e->pressure != kNoPressure)
            return false;
        e->pressure = PressureLevel(pressure);
        if (e->pointer == ptMouse) e->pointer = ptPen;
    }
    return true;
}

bool ParseEvent(const QStringList& w, StrokeRecording* r) {
    StrokeEvent e;
    const QString& key = w[0];
    if (key == QLatin1String("down") || key == QLatin1String("up")) {
        e.kind = key == QLatin1String("down") ? StrokeEvent::Down : StrokeEvent::Up;
        if (w.size() < 5 || !ParseButton(w[1], &e.button) || !ParseShift(w[2], &e.shift) ||
            !ParseInts(w.mid(0, 5), 3, {&e.x, &e.y}) || !ParsePen(w, 5, &e))
            return false;
    } else if (key == QLatin1String("move")) {
        e.kind = StrokeEvent::Move;
        if (w.size() < 4 || !ParseShift(w[1], &e.shift) ||
            !ParseInts(w.mid(0, 4), 2, {&e.x, &e.y}) || !ParsePen(w, 4, &e))
            return false;
    } else if (key == QLatin1String("away")) {
        e.kind = StrokeEvent::Away;
        if (w.size() != 1) return false;
    } else if (key == QLatin1String("tick")) {
        e.kind = StrokeEvent::Tick;
        if (!ParseInts(w, 1, {&e.count}) || e.count < 0) return false;
    } else {
        return false;
    }
    r->events.push_back(e);
    return true;
}

bool ParseLine(const QStringList& w, StrokeRecording* r) {
    const QString& key = w[0];
    if (key == QLatin1String("seed")) {
        bool ok = false;
        r->seed = w.size() == 2 ? w[1].toUInt(&ok) : 0;
        return ok;
    }
    if (key == QLatin1String("picture"))
        return ParseInts(w, 1, {&r->width, &r->height}) && r->width > 0 && r->height > 0 &&
               r->width <= MainWindowCore::kMaxPictureSide &&
               r->height <= MainWindowCore::kMaxPictureSide;
    if (key == QLatin1String("size"))
        return ParseInts(w, 1, {&r->sizeIndex}) && r->sizeIndex >= 0 &&
               r->sizeIndex < kBrushSizeCount;
    if (key == QLatin1String("blur")) return w.size() == 2 && ParseBlur(w[1], r);
    if (key == QLatin1String("options")) return ParseOptions(w, r);
    if (key == QLatin1String("colours"))
        return w.size() == 3 && ParseColour(w[1], &r->primary) && ParseColour(w[2], &r->secondary);
    return ParseEvent(w, r);
}

}  // namespace

bool StrokeRecording::Parse(const QString& text, StrokeRecording* out, QString* error) {
    StrokeRecording r;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (!ParseLine(line.split(QLatin1Char(' '), Qt::SkipEmptyParts), &r)) {
            if (error) *error = QStringLiteral("line %1: %2").arg(n + 1).arg(line);
            return false;
        }
    }
    *out = std::move(r);
    return true;
}

bool StrokeRecording::Load(const QString& path, StrokeRecording* out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    return Parse(QString::fromUtf8(file.readAll()), out, error);
}

void WritePictureSize(const StrokeRecording& r) {
    TIniGT ini;
    ini.WriteInteger(QStringLiteral("Image"), QStringLiteral("Width"), r.width);
    ini.WriteInteger(QStringLiteral("Image"), QStringLiteral("Height"), r.height);
}

void ApplySettings(MainWindowCore& core, const StrokeRecording& r) {
    core.ComboBox1Change(r.sizeIndex);
    MenuChecks& m = core.Checks;
    m.K1 = r.K1, m.K4 = r.K4, m.K3 = r.K3, m.K2 = r.K2;
    m.M1 = r.M1, m.H1 = r.H1, m.N8 = r.N8, m.C2 = r.C2, m.P1 = r.P1;
    core.PrimaryColour = r.primary;
    core.SecondaryColour = r.secondary;
    core.Random.Seed(r.seed);
    core.RegenerateBristles();
}

namespace {

PenEvent PenEventFrom(const StrokeEvent& e) {
    PenEvent pen;
    pen.kind = e.kind == StrokeEvent::Down ? PenEvent::Press
               : e.kind == StrokeEvent::Up ? PenEvent::Release
                                           : PenEvent::Move;
    pen.pointer = e.pointer;
    pen.button = e.button;
    pen.shift = e.shift;
    pen.x = e.x;
    pen.y = e.y;
    pen.pressure = e.pressure;
    return pen;
}

}  // namespace

void SendPointerEvent(MainWindowCore& core, const StrokeEvent& e) {
    if (e.kind == StrokeEvent::Away) return core.Image1PenAway();
    if (e.pointer != ptMouse && e.kind != StrokeEvent::Tick) return core.Image1Pen(PenEventFrom(e));
    switch (e.kind) {
        case StrokeEvent::Down:
            core.Image1MouseDown(e.button, e.shift, e.x, e.y);
            break;
        case StrokeEvent::Move:
            core.Image1MouseMove(e.shift, e.x, e.y);
            break;
        case StrokeEvent::Up:
            core.Image1MouseUp(e.button, e.shift, e.x, e.y);
            break;
        case StrokeEvent::Tick:
        case StrokeEvent::Away:
            break;
    }
}

ReplayResult ReplayEvents(MainWindowCore& core, const StrokeRecording& r, bool rest) {
    ReplayResult result;
    for (const StrokeEvent& e : r.events) {
        if (e.kind != StrokeEvent::Tick) {
            SendPointerEvent(core, e);
            continue;
        }
        for (int i = 0; i < e.count; ++i) {
            if (rest && core.TickIsIdle()) {
                ++result.ticksRested;
                continue;
            }
            core.Timer1Timer(1);
            ++result.ticksRun;
        }
    }
    return result;
}

QString PixelChecksum(const Bitmap& picture) {
    std::uint64_t h = 14695981039346656037ull;
    const int rowBytes = picture.Width() * 3;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.ConstScanLine(y);
        for (int i = 0; i < rowBytes; ++i) h = (h ^ row[i]) * 1099511628211ull;
    }
    return QStringLiteral("%1").arg(h, 16, 16, QLatin1Char('0'));
}

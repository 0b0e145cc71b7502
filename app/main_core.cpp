#include "app/main_core.h"

#include <QDir>

#include "platform/app_paths.h"
#include "platform/file_names.h"
#include "platform/memory_room.h"

MainWindowCore::MainWindowCore(MainScreen& screen)
    : Timer1(nullptr, false),
      Compositor(Layers, Image1, this),
      SurfaceCanvas(&Image1),
      screen_(screen) {
    Timer1.SetActiveOnly(true);
    Timer1.SetInterval(0);
    Timer1.OnTimer = [this](TDXTimer*, int lag) { Guarded([&] { Timer1Timer(lag); }); };
    Timer1.CanRest = [this] { return TickIsIdle(); };
    Layers.RoomForLayers = [this](int layers) {
        return DocumentFits({Image1.Width(), Image1.Height(), layers});
    };
    History.Room = [] { return MemoryRoom(); };
}

void MainWindowCore::FormCreate(const QStringList& args, const QString& startDir) {
    QDir::setCurrent(AppPaths::ExecutableDir());
    Random.SeedFromClock();
    screen_.SetPlacement(MainScreen::wiMain,
                         IniGT1.ReadPlacement(QStringLiteral("Form1"), QStringLiteral("Pos"),
                                              screen_.Placement(MainScreen::wiMain)));
    ReadSettings();
    screen_.SetToolPanelLeft(ToolPanelLeft);
    screen_.MenuChecksChanged();
    screen_.SetPaintCursor(MainScreen::crPen);

    // The white picture, a hundred white layers and the undo snapshots of its size. None of
    // them holds memory before it is drawn on.
    Compositor.Reset(Image1.Width(), Image1.Height());
    Image3.CopyFrom(Image1);
    Image4.CopyFrom(Image1);
    screen_.PaintSurfaceResized(Image1.Width(), Image1.Height());
    ShowDocumentTitle(Document.FileName);

    // The stroke, tool and document state start at their declared values (brush size 13,
    // JPEG quality 75, nothing armed, nothing modified).
    StartBrushSettings();
    SurfaceCanvas.pen.Color = PrimaryColour;
    SurfaceBrushColour = SecondaryColour;

    if (!args.isEmpty()) {
        const QString file = AppPaths::ResolveAgainst(startDir, args.first());
        if (IsRegularFile(file)) {
            Document.CommandLineFile = file;
            Document.OpenAtFirstTick = true;
        }
    }
    StartRecoveryCopies();
}

void MainWindowCore::StartUpFinished() {
    OfferRecoveryCopies();
    Timer1.SetEnabled(true);
}

void MainWindowCore::ReadSettings() {
    int width =
        IniGT1.ReadInteger(QStringLiteral("Image"), QStringLiteral("Width"), kDefaultPictureSide);
    int height =
        IniGT1.ReadInteger(QStringLiteral("Image"), QStringLiteral("Height"), kDefaultPictureSide);
    // A size no picture can have falls back to the default rather than failing the start.
    if (width < 1 || width > kMaxPictureSide) width = kDefaultPictureSide;
    if (height < 1 || height > kMaxPictureSide) height = kDefaultPictureSide;
    Image1.MakeWhite(width, height);

    ToolPanelLeft = IniGT1.ReadBool(QStringLiteral("Form1"), QStringLiteral("palette"), true);
    for (const MenuChecks::Entry& e : MenuChecks::Persisted())
        Checks.*e.field =
            IniGT1.ReadBool(QString::fromLatin1(e.section), QString::fromLatin1(e.key), e.def);
    ReadUndoSettings();
}

void MainWindowCore::ReadLoupeMagnification() {
    static const bool defaults[7] = {false, false, true, false, false, false, false};
    for (int i = 0; i < 7; ++i)
        Loupe.B[i] =
            IniGT1.ReadBool(QStringLiteral("lupe"), QStringLiteral("B%1").arg(i + 2), defaults[i]);
}

void MainWindowCore::ReadLoupeShowOptions() {
    Loupe.F1 = IniGT1.ReadBool(QStringLiteral("option"), QStringLiteral("lupe1"), true);
    Loupe.StatusBar = IniGT1.ReadBool(QStringLiteral("visible"), QStringLiteral("bar1"), true);
}

bool MainWindowCore::WriteSettings(bool withPictureAndPanel) {
    try {
        const QString pos = QStringLiteral("Pos");
        IniGT1.WritePlacement(QStringLiteral("Form1"), pos, screen_.Placement(MainScreen::wiMain));
        IniGT1.WritePlacement(QStringLiteral("Form10"), pos,
                              screen_.Placement(MainScreen::wiLayer));
        IniGT1.WritePlacement(QStringLiteral("Form11"), pos,
                              screen_.Placement(MainScreen::wiLoupe));
        if (withPictureAndPanel) {
            IniGT1.WriteInteger(QStringLiteral("Image"), QStringLiteral("Width"), Image1.Width());
            IniGT1.WriteInteger(QStringLiteral("Image"), QStringLiteral("Height"), Image1.Height());
            IniGT1.WriteBool(QStringLiteral("Form1"), QStringLiteral("palette"), ToolPanelLeft);
        }
        for (const MenuChecks::Entry& e : MenuChecks::Persisted())
            IniGT1.WriteBool(QString::fromLatin1(e.section), QString::fromLatin1(e.key),
                             Checks.*e.field);
        for (int i = 0; i < 7; ++i)
            IniGT1.WriteBool(QStringLiteral("lupe"), QStringLiteral("B%1").arg(i + 2), Loupe.B[i]);
        IniGT1.WriteBool(QStringLiteral("visible"), QStringLiteral("bar1"), Loupe.StatusBar);
        IniGT1.WriteBool(QStringLiteral("option"), QStringLiteral("lupe1"), Loupe.F1);
    } catch (const UserError& e) {
        screen_.ErrorBox(e.Text());
        return false;
    }
    return true;
}

void MainWindowCore::FormClose() {
    screen_.SetPaintCursor(MainScreen::crDefault);
    WriteSettings(true);
    const bool saveWanted = AskToSaveChanges();
    // A save that was asked for but failed or was cancelled leaves the work in its copy.
    EndRecoveryCopies(saveWanted && Document.Modified);
    Timer1.SetEnabled(false);
}

void MainWindowCore::N6Click() {
    WriteSettings(false);
    AskToSaveChanges();
    screen_.CloseMainWindow();
}

void MainWindowCore::Panel1DblClick() {
    ToolPanelLeft = !ToolPanelLeft;
    screen_.SetToolPanelLeft(ToolPanelLeft);
}

void MainWindowCore::R9Click() {
    Checks.R9 = !Checks.R9;
    screen_.MenuChecksChanged();
    screen_.SetWindowVisible(MainScreen::wiLayer, Checks.R9);
}

void MainWindowCore::L1Click() {
    Checks.L1 = !Checks.L1;
    screen_.MenuChecksChanged();
    screen_.SetWindowVisible(MainScreen::wiLoupe, Checks.L1);
    if (Checks.L1) screen_.CopyToLoupe(Image1);
}

void MainWindowCore::WindowBookkeeping() {
    const bool layerVisible = screen_.WindowVisible(MainScreen::wiLayer);
    const bool loupeVisible = screen_.WindowVisible(MainScreen::wiLoupe);
    bool changed = false;
    // A window closed with its close box takes its check mark with it.
    if (!layerVisible && Checks.R9) Checks.R9 = false, changed = true;
    if (!loupeVisible && Checks.L1) Checks.L1 = false, changed = true;
    if (changed) screen_.MenuChecksChanged();
    if (!Checks.R9 && layerVisible) screen_.SetWindowVisible(MainScreen::wiLayer, false);
    if (!Checks.L1 && loupeVisible) screen_.SetWindowVisible(MainScreen::wiLoupe, false);
}

void MainWindowCore::Timer1Timer(int /*lagCount*/) {
    ++TickCount;
    WindowBookkeeping();
    OpenStartupFile();
    if (Layers.LayersChanged) FollowLayerChanges();
    if (StrokeTick()) LoupeFollowTip();
}

void MainWindowCore::RepaintPaintSurface() {
    screen_.PaintSurfaceResized(Image1.Width(), Image1.Height());
    screen_.RepaintPaintSurface(QRect());
}

QString MainWindowCore::SizeText() const {
    return QStringLiteral("サイズ( %1 x %2 )").arg(Image1.Width()).arg(Image1.Height());
}

void MainWindowCore::TakeBeforeSnapshot() {
    // A stroke still drawing when another edit begins is a step of its own.
    EndMarkedEdit();
    ReserveEditBuffers();
    Image3.CopyFrom(Compositor.CurrentLayerImage());
    Tools.UndoPhase = 1;
    Tools.UndoLayer = Layers.CurrentLayerIndex();
    ++beforeSnapshots_;
    modifiedBeforeEdit_ = Document.Modified;
    if (DeepUndo()) History.BeginEdit(Tools.UndoLayer, Layers.LayerSerial(Tools.UndoLayer));
}

void MainWindowCore::TakeAfterSnapshot() {
    // With more levels the history keeps what changed, and the after-snapshot is not needed.
    if (DeepUndo())
        RecordEdit();
    else
        Image4.CopyFrom(Compositor.CurrentLayerImage());
    Tools.UndoPhase = 0;
    Tools.UndoLayer = Layers.CurrentLayerIndex();
}

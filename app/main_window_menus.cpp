// The main window's menus: every item under its documented name, with its shortcut and its
// design check mark; the check marks themselves live in the core.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "help/about_box.h"
#include "help/readme_dialog.h"

QAction* TForm1::AddItem(QMenu* menu, const QString& name, const QString& caption,
                         const QKeySequence& shortcut) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    if (!shortcut.isEmpty()) item->setShortcut(shortcut);
    items_.insert(name, item);
    return item;
}

void TForm1::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    AddItem(file, QStringLiteral("N2"), QStringLiteral("新規作成(&N)..."));
    AddItem(file, QStringLiteral("N3"), QStringLiteral("開く(&O)..."));
    AddItem(file, QStringLiteral("Save1"), QStringLiteral("上書き保存(&S)"),
            QKeySequence(QStringLiteral("Ctrl+S")));
    AddItem(file, QStringLiteral("N1"), QStringLiteral("名前をつけて保存(&A)..."));
    file->addSeparator();
    connect(AddItem(file, QStringLiteral("N6"), QStringLiteral("終了(&X)")), &QAction::triggered,
            this, [this] { Run(&MainWindowCore::N6Click); });

    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    AddItem(edit, QStringLiteral("Undo1"), QStringLiteral("元に戻す(&U)"),
            QKeySequence(QStringLiteral("Ctrl+Z")));
    AddItem(edit, QStringLiteral("Redo1"), QStringLiteral("やり直し(&R)"),
            QKeySequence(QStringLiteral("Ctrl+Y")));
    AddItem(edit, QStringLiteral("UndoLevels1"), QStringLiteral("元に戻す回数(&N)..."));
    edit->addSeparator();
    AddItem(edit, QStringLiteral("Cut1"), QStringLiteral("切り取り(&T)"),
            QKeySequence(QStringLiteral("Ctrl+X")));
    AddItem(edit, QStringLiteral("Copy1"), QStringLiteral("コピー(&C)"),
            QKeySequence(QStringLiteral("Ctrl+C")));
    AddItem(edit, QStringLiteral("Paste1"), QStringLiteral("貼り付け(&P)"),
            QKeySequence(QStringLiteral("Ctrl+V")));
    edit->addSeparator();
    AddItem(edit, QStringLiteral("C1"), QStringLiteral("クリア(&D)"));

    QMenu* kind = bar->addMenu(QStringLiteral("筆の種類(&K)"));
    AddItem(kind, QStringLiteral("K1"), QStringLiteral("ぼかさない(&N)"));
    AddItem(kind, QStringLiteral("K4"), QStringLiteral("ぼかす（弱）(&A)"));
    AddItem(kind, QStringLiteral("K3"), QStringLiteral("ぼかす（中）(&P)"));
    AddItem(kind, QStringLiteral("K2"), QStringLiteral("ぼかす（強）(&W)"));
    kind->addSeparator();
    AddItem(kind, QStringLiteral("M1"), QStringLiteral("にじむ(&N)"));
    AddItem(kind, QStringLiteral("H1"), QStringLiteral("かすれ(&K)"));
    AddItem(kind, QStringLiteral("N8"), QStringLiteral("速度によって太さが変わる(&S)"));
    AddItem(kind, QStringLiteral("C2"), QStringLiteral("速度によって濃さが変わる(&C)"));
    AddItem(kind, QStringLiteral("P1"), QStringLiteral("筆圧(&T)"));

    QMenu* retouch = bar->addMenu(QStringLiteral("レタッチの種類(&R)"));
    AddItem(retouch, QStringLiteral("R1"), QStringLiteral("ソフト(&S)"));
    AddItem(retouch, QStringLiteral("R2"), QStringLiteral("明るくする(&A)"));
    AddItem(retouch, QStringLiteral("R6"), QStringLiteral("明るくぼかす(&R)"));
    AddItem(retouch, QStringLiteral("R3"), QStringLiteral("暗くする(&D)"));
    AddItem(retouch, QStringLiteral("R7"), QStringLiteral("暗くぼかす(&B)"));
    AddItem(retouch, QStringLiteral("R5"), QStringLiteral("指定した色を重ねる(&C)"));
    AddItem(retouch, QStringLiteral("R8"), QStringLiteral("指定した色を重ねてぼかす(&N)"));
    AddItem(retouch, QStringLiteral("R4"), QStringLiteral("コントラスト強調(&K)"));

    QMenu* filter = bar->addMenu(QStringLiteral("フィルタ(&I)"));
    const char* filters[] = {"ソフト(&S)",
                             "色の反転(&H)",
                             "ｺﾝﾄﾗｽﾄ強調(&K)",
                             "ガンマ補正プラス(&P)",
                             "ガンマ補正マイナス(&M)",
                             "色補正(&I)",
                             "値抽出(&A)",
                             "カスタム(&C)"};
    for (int i = 0; i < 8; ++i)
        AddItem(filter, QStringLiteral("I%1").arg(i + 1), QString::fromUtf8(filters[i]));

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    connect(AddItem(view, QStringLiteral("L1"), QStringLiteral("ルーペ(&L)")), &QAction::triggered,
            this, [this] { core_.L1Click(); });
    connect(AddItem(view, QStringLiteral("R9"), QStringLiteral("レイヤ(&R)")), &QAction::triggered,
            this, [this] { core_.R9Click(); });
    AddZoomItems(view);

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    connect(AddItem(help, QStringLiteral("Readme1"), QStringLiteral("Readmeを読む(&R)")),
            &QAction::triggered, this, [this] { ::Readme1Click(this); });
    help->addSeparator();
    connect(AddItem(help, QStringLiteral("N4"), QStringLiteral("バージョン情報(&A)")),
            &QAction::triggered, this, [this] { ::N4Click(this); });

    // The brush sizes live in a menu that is never shown; its marks are the size flags.
    QMenu* size = bar->addMenu(QStringLiteral("筆の太さ(&S)"));
    size->menuAction()->setVisible(false);
    AddItem(size, QStringLiteral("S1"), QStringLiteral("極太(&B)"));
    AddItem(size, QStringLiteral("S2"), QStringLiteral("太筆(&L)"));
    AddItem(size, QStringLiteral("S3"), QStringLiteral("中筆(&O)"));
    AddItem(size, QStringLiteral("S4"), QStringLiteral("細筆(&M)"));
    AddItem(size, QStringLiteral("S5"), QStringLiteral("極細(&S)"));

    BindChecks();
}

void TForm1::BindChecks() {
    checkFields_ = {
        {QStringLiteral("K1"), &MenuChecks::K1}, {QStringLiteral("K2"), &MenuChecks::K2},
        {QStringLiteral("K3"), &MenuChecks::K3}, {QStringLiteral("K4"), &MenuChecks::K4},
        {QStringLiteral("M1"), &MenuChecks::M1}, {QStringLiteral("H1"), &MenuChecks::H1},
        {QStringLiteral("N8"), &MenuChecks::N8}, {QStringLiteral("C2"), &MenuChecks::C2},
        {QStringLiteral("R1"), &MenuChecks::R1}, {QStringLiteral("R2"), &MenuChecks::R2},
        {QStringLiteral("R3"), &MenuChecks::R3}, {QStringLiteral("R4"), &MenuChecks::R4},
        {QStringLiteral("R5"), &MenuChecks::R5}, {QStringLiteral("R6"), &MenuChecks::R6},
        {QStringLiteral("R7"), &MenuChecks::R7}, {QStringLiteral("R8"), &MenuChecks::R8},
        {QStringLiteral("L1"), &MenuChecks::L1}, {QStringLiteral("R9"), &MenuChecks::R9},
        {QStringLiteral("S1"), &MenuChecks::S1}, {QStringLiteral("S2"), &MenuChecks::S2},
        {QStringLiteral("S3"), &MenuChecks::S3}, {QStringLiteral("S4"), &MenuChecks::S4},
        {QStringLiteral("S5"), &MenuChecks::S5}, {QStringLiteral("P1"), &MenuChecks::P1},
    };
    for (auto it = checkFields_.cbegin(); it != checkFields_.cend(); ++it) {
        QAction* item = items_.value(it.key());
        item->setCheckable(true);
        // Qt would toggle the mark by itself; the handler decides, so put it back.
        connect(item, &QAction::triggered, this, [this] { MenuChecksChanged(); });
    }
    MenuChecksChanged();
}

void TForm1::MenuChecksChanged() {
    const MenuChecks& checks = core_.Checks;
    for (auto it = checkFields_.cbegin(); it != checkFields_.cend(); ++it)
        items_.value(it.key())->setChecked(checks.*(it.value()));
}

#include "tools/custom_filter_dialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>

namespace {

constexpr int kCellWidth = 50;
constexpr int kCellHeight = 20;

QTableWidget* MakeGrid(QWidget* parent) {
    auto* grid = new QTableWidget(3, 3, parent);
    grid->setObjectName(QStringLiteral("StringGrid1"));
    grid->setGeometry(16, 6, 156, 66);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    for (int i = 0; i < 3; ++i) {
        grid->setColumnWidth(i, kCellWidth);
        grid->setRowHeight(i, kCellHeight);
    }
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setTabKeyNavigation(true);
    grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    return grid;
}

}  // namespace

TForm9::TForm9(QWidget* owner)
    : FilterDialog(owner, "TForm9", QStringLiteral("カスタムフィルタの設定"), 186, 165) {
    StringGrid1 = MakeGrid(this);
    ScrollBar1 = MakeScrollBar(this, "ScrollBar1", QRect(72, 80, 97, 15), 0, 100, 40, 10);
    Label6 = MakeLabel(this, "Label6", QPoint(16, 80), QStringLiteral("強度：40"));
    Edit1 = MakeEdit("Edit1", "R", 16);
    Edit2 = MakeEdit("Edit2", "G", 72);
    Edit3 = MakeEdit("Edit3", "B", 128);
    CheckBox2 = new QCheckBox(QStringLiteral("色を指定"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->move(96, 135);
    CheckBox2->adjustSize();
    Button1 = MakeDecideButton(16, 133);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TForm9::ScrollBar1Change);
    FormCreate();
}

QLineEdit* TForm9::MakeEdit(const char* name, const char* caption, int x) {
    auto* edit = new QLineEdit(QStringLiteral("128"), this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(x, 104, 41, 20);
    // The letter sits in the gap to the left of its box.
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    label->setGeometry(x - 10, 107, 9, 14);
    return edit;
}

void TForm9::FormCreate() {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const bool centre = row == 1 && column == 1;
            const bool edge = row == 1 || column == 1;
            const QString text = centre ? QStringLiteral("4")
                                 : edge ? QStringLiteral("-1")
                                        : QStringLiteral("0");
            StringGrid1->setItem(row, column, new QTableWidgetItem(text));
        }
}

void TForm9::ScrollBar1Change() {
    Label6->setText(QStringLiteral("強度：%1").arg(ScrollBar1->value()));
    Label6->adjustSize();
}

CustomFilterText TForm9::Text() const {
    CustomFilterText t;
    t.UseColour = CheckBox2->isChecked();
    t.Red = Edit1->text();
    t.Green = Edit2->text();
    t.Blue = Edit3->text();
    t.Strength = ScrollBar1->value();
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
            const QTableWidgetItem* item = StringGrid1->item(a, b);
            t.Cells[a][b] = item ? item->text() : QString();
        }
    return t;
}

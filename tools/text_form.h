#pragma once
// TTextForm: the text tool's dialog. It is made once and kept, so its text and font stay from
// one use to the next.
#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

class QPlainTextEdit;
class QPushButton;
class QWidget;

class TTextForm : public QDialog {
    Q_OBJECT
  public:
    explicit TTextForm(QWidget* owner);

    QPlainTextEdit* Memo1 = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;  // "フォント"
    QPushButton* Button2 = nullptr;  // "クリア"
    QPushButton* Button4 = nullptr;  // "決定"
    QPushButton* Button5 = nullptr;  // "中止"

    // The memo's lines, as the text tool writes them.
    QStringList Lines() const;
    // The font dialog's font, which is always the memo's.
    QFont FontDialog1Font() const { return fontDialogFont_; }
    void SetMemoFont(const QFont& font);
    // The memo shows its text in text on background.
    void SetMemoColours(const QColor& text, const QColor& background);

    // The font dialog, opened on font; nothing when cancelled. Replaceable for tests.
    std::function<std::optional<QFont>(const QFont& font)> RunFontDialog;

    void Button1Click();
    void Button2Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QFont fontDialogFont_;
};

#pragma once
// The converter window of gridmerk: input and output file names, the run
// options, the input format, and the list of the first conversions. The
// options are remembered in "Gmk.pfg" (file names and datum offsets).

#include "converter/ConversionRun.h"
#include "platform/Ui.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace help
{
class TContextHelpHook;
}

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

class TForm1 : public QWidget
{
public:
    // Takes the current folder as the start folder and reads "Gmk.pfg"
    // there.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Starts a script hidden with `folder` as its current folder; true when
    // it started. Replaceable, so tests see what would be started.
    using TScriptStarter = std::function<bool(const std::string& script, const std::string& folder)>;
    TScriptStarter StartScript;

    // Event handlers, also run directly by tests.
    void FormActivate();
    void FormClose();
    void startClick();
    void Grid_inClick();
    void ReverseClick();
    void BrowseRepClick();
    void BrowseOpClick();
    void ExitClick();
    void ResetButtonClick();
    void ClearClick();
    void BitBtn1Click();
    void Button1Click();

    // The options of a run as the controls stand.
    converter::TRunOptions RunOptions() const;
    std::vector<std::string> ResultLines() const;
    const converter::TConverter& Converter() const { return converter_; }
    const std::string& StartFolder() const { return startFolder_; }
    const std::string& RememberedFolder() const { return rememberedFolder_; }

    QFrame* Panel1;
    QPushButton *start, *Button1, *BitBtn1, *ResetButton, *Clear, *Exit;
    QLabel* Progress;
    QLineEdit *INFile, *Opfile;
    QToolButton *BrowseRep, *BrowseOp;
    QGroupBox *Action, *Format;
    QRadioButton *TestOnly, *CreateFile, *Grid_in, *Dec_Deg, *Deg_mins, *Deg_mins_secs;
    QSpinBox *SkipFirst, *Line_style, *LatOS, *LongOS;
    QCheckBox *Filter, *Reverse;
    QComboBox* Sep;
    QPlainTextEdit* Results;

    platform::FileDialogRequest OpenDialog1, SaveDialog1;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    void LoadOptionFile();
    void ShowSamples(const std::vector<std::string>& lines);
    void AddResult(const std::string& line);
    // Changes to the folder of a file name (as typed, possibly relative).
    static void ChangeToFolderOf(const std::string& fileName);

    converter::TConverter converter_;
    std::string startFolder_;
    std::string rememberedFolder_;
    // The context-help hook on the start folder's "Gmkhelp.chm", for the
    // window's lifetime.
    std::unique_ptr<help::TContextHelpHook> helpHook_;
};

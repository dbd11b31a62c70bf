#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ClickArea;
class ScrollBox;
class StatusBar;
class TSkinForm;
class HintMirror;
class SkinMessages;
class SingleCopy;
class StartLocks;
namespace platform {
class HelpViewer;
}
namespace trackslots {
struct SlotRow;
}
namespace install {
struct SlotRestore;
}

// The main window. Its controls are the program's state: the two folders are the texts of PaTr and
// PaGa, a slot takes part when its check box is ticked, its choice is the selected button of its strip.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // Builds the whole layout; FormCreate runs separately so that callers can prepare the home folder.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls, by their layout names.
    TSkinForm* SkinForm1 = nullptr;
    QLabel* StTrL = nullptr;
    QLabel* NTrL = nullptr;
    ClickArea* PaintBox1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr; // start
    QPushButton* BitBtn3 = nullptr; // hidden exit
    QGroupBox* OptPan = nullptr;
    QPushButton* BitBtn1 = nullptr; // help
    QPushButton* BitBtn4 = nullptr; // add
    StatusBar* SBar = nullptr;
    StatusBar* RBar = nullptr;
    QRadioButton* StTr = nullptr;
    QRadioButton* NTr = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* PaTr = nullptr;
    QLineEdit* PaGa = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    ScrollBox* ScrollBox1 = nullptr;
    ScrollBox* ScrollBox2 = nullptr;

    // A slot's check box (named after the slot), its strip (slot name + "P") and the selected choice
    // button of that strip (nullptr when the strip has none).
    QCheckBox* slotCheckBox(const QString& slot) const;
    QWidget* slotStrip(const QString& slot) const;
    QRadioButton* chosenButton(const QString& slot) const;
    ScrollBox* scrollBoxOf(const QString& slot) const;

    // Run-wide values.
    QString HomeDir;      // the current folder at start, with a trailing "/"
    QString ArchiverPath; // HomeDir + "7zip.exe"
    QString SavedState;   // third line of "options.dat" as read at start
    bool GameLaunched = false;
    // Whether "0" stands recorded for the game folders: read at start (and assumed when "options.dat"
    // could not be read), set when the start command records "0" before touching the game folders,
    // cleared only by a restore that put every standard file back. The start command restores while it
    // is set, and the close handler then keeps "0".
    bool AddOnsMayBeInstalled = false;

    // Puts the window in the middle of its screen. The window starts there, before the skin load shows
    // its banner, so that every box centred on the window stands in the middle of the screen too.
    void centreOnScreen();

    QString trackDir() const; // text of PaTr
    QString gameDir() const;  // text of PaGa

    // Start-up: the companion checks, "options.dat", the first scan and the skin load. Returns false
    // when the program has to stop (a companion file is missing; the user has been told).
    bool FormCreate();
    // Close handler: writes "options.dat" and removes the run's temporary files. Returns false when
    // "options.dat" could not be written (reported; the window then stays open).
    bool FormClose();

    // Handlers of the layout.
    void Button1Click(QPushButton* sender);
    void StTrClick();
    void NTrClick();
    void StTrLClick();
    void NTrLClick();
    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn2Click(); // start command
    void BitBtn4Click(); // add command
    // The add command's work on an archive already picked (or dropped on the window): true once it
    // lies in a slot's library folder.
    bool AddTrackArchive(const QString& archive);

    // A strip holds at most this many choice buttons: 18 pixels apart, they fill its 4600 pixels.
    static constexpr int MaxChoiceButtons = 255;
    // The archive of a choice button: its file name in the slot's library folder.
    static QString archiveOf(const QAbstractButton* button);

    void CheckTrass(); // library scan
    // While add-on tracks are installed, the hints of the slot check boxes and of the installed
    // archives' choice buttons say which archive is in the game; otherwise they are the plain ones.
    void showInstalledArchives();
    // Gives the standard tracks back; returns the slots whose standard files are not all back and
    // flushed to disk.
    QList<install::SlotRestore> StandartTracks();
    void HintToStatusBar(const QString& hint);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Archives dropped on the window are filed by the add command, as if picked in its dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void wireHandlers();
    void FormPaint();
    // True when the track library has been chosen; tells the user otherwise.
    bool libraryChosen();
    void fileDroppedArchives(const QStringList& paths);
    void readSettingsFile();
    // At a first start, without a game folder: the game looked for in the user's Wine prefixes.
    void findGameFolder();
    void loadSkin();
    void removeTemporaryFiles();
    // Places the button of the k-th archive (k from 1) found in `slot`'s library folder.
    void AddChoiceButton(const trackslots::SlotRow& slot, int k, const QString& archive);

    std::unique_ptr<SkinMessages> m_skinMessages;
    std::unique_ptr<SingleCopy> m_singleCopy; // held from start-up to the end of the run
    // Held by the start command from before its first change to the end of the close handler's clean-up.
    std::unique_ptr<StartLocks> m_startLocks;
    // "options.dat" exists but could not be read: it is not written over unless the user chose a folder
    // in this run.
    bool m_settingsUnread = false;
    bool m_folderChosen = false;
    std::unique_ptr<HintMirror> m_hintMirror;
    QPointer<platform::HelpViewer> m_helpViewer;
    QHash<QString, QButtonGroup*> m_choiceGroups; // one exclusive group per strip, by slot name
    // Set while the add command files an archive: its wait for the archiver still takes drops.
    bool m_addRunning = false;
};

#include "app/main_window.h"

#include "app/ClickArea.h"
#include "app/DialogSkinMessages.h"
#include "app/FolderCheck.h"
#include "app/HintMirror.h"
#include "app/InstallTracks.h"
#include "app/Layout.h"
#include "app/Leftovers.h"
#include "app/ScrollBox.h"
#include "app/SingleCopy.h"
#include "app/SkinAccent.h"
#include "app/StandardFiles.h"
#include "app/StartLocks.h"
#include "app/StatusBar.h"
#include "core/IoError.h"
#include "core/Settings.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/HelpViewer.h"
#include "skin/SkinError.h"
#include "skin/SkinForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

const QString ArchiverName = QStringLiteral("7zip.exe");
const QString InterpreterSettingsName = QStringLiteral("extrc.pif");
const QString SettingsName = QStringLiteral("options.dat");
const QString HelpFileName = QStringLiteral("rovex10.hlp");

template <typename T>
T* control(const QWidget* window, const char* name)
{
    auto* widget = window->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(widget);
    return widget;
}

QFont windowFont()
{
    QFont font;
    // Arial's metrics (Liberation Sans) come closest to the narrow Windows dialog font the layout was
    // measured with; wider faces clip the fixed-width labels.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent)
    , m_skinMessages(std::make_unique<DialogSkinMessages>(this))
{
    setObjectName(QStringLiteral("Form1"));
    setProperty("caption", QString::fromUtf8(layout::Caption));
    setWindowTitle(QString::fromUtf8(layout::ApplicationTitle));
    setFixedSize(layout::WindowWidth, layout::WindowHeight);
    setFont(windowFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    // The skin lies lowest: it is the first child, and every control created later lies above it.
    SkinForm1 = new TSkinForm(this);
    SkinForm1->setObjectName(QStringLiteral("SkinForm1"));
    SkinForm1->setGeometry(0, 0, layout::WindowWidth, layout::WindowHeight);
    SkinForm1->setKeyColor(0xFFFFFF);
    SkinForm1->setTolerance(0);
    SkinForm1->setMessages(m_skinMessages.get());

    layout::build(this);
    StTrL = control<QLabel>(this, "StTrL");
    NTrL = control<QLabel>(this, "NTrL");
    PaintBox1 = control<ClickArea>(this, "PaintBox1");
    GroupBox1 = control<QGroupBox>(this, "GroupBox1");
    BitBtn2 = control<QPushButton>(this, "BitBtn2");
    BitBtn3 = control<QPushButton>(this, "BitBtn3");
    OptPan = control<QGroupBox>(this, "OptPan");
    BitBtn1 = control<QPushButton>(this, "BitBtn1");
    BitBtn4 = control<QPushButton>(this, "BitBtn4");
    SBar = control<StatusBar>(this, "SBar");
    RBar = control<StatusBar>(this, "RBar");
    StTr = control<QRadioButton>(this, "StTr");
    NTr = control<QRadioButton>(this, "NTr");
    Label1 = control<QLabel>(this, "Label1");
    Label2 = control<QLabel>(this, "Label2");
    PaTr = control<QLineEdit>(this, "PaTr");
    PaGa = control<QLineEdit>(this, "PaGa");
    Button1 = control<QPushButton>(this, "Button1");
    Button2 = control<QPushButton>(this, "Button2");
    ScrollBox1 = control<ScrollBox>(this, "ScrollBox1");
    ScrollBox2 = control<ScrollBox>(this, "ScrollBox2");

    // The layout starts in standard mode; its handler is attached afterwards, so the slot area stays
    // enabled until the user goes to new tracks and back.
    StTr->setChecked(true);
    PaintBox1->showLooksOf(SkinForm1);
    wireHandlers();
    // The start button is the window's default button, and the focus starts on it, as Enter does.
    BitBtn2->setDefault(true);
    BitBtn2->setFocus();
    centreOnScreen();
    setAcceptDrops(true);
}

TForm1::~TForm1()
{
    delete m_helpViewer;
    // The skin keeps a pointer to the adapter: let the children go first.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void TForm1::wireHandlers()
{
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button1Click(Button2); });
    connect(StTr, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            StTrClick();
    });
    connect(NTr, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            NTrClick();
    });
    connect(static_cast<ClickLabel*>(StTrL), &ClickLabel::clicked, this, &TForm1::StTrLClick);
    connect(static_cast<ClickLabel*>(NTrL), &ClickLabel::clicked, this, &TForm1::NTrLClick);
    connect(PaintBox1, &ClickArea::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
}

QCheckBox* TForm1::slotCheckBox(const QString& slot) const
{
    return GroupBox1->findChild<QCheckBox*>(slot, Qt::FindDirectChildrenOnly);
}

QWidget* TForm1::slotStrip(const QString& slot) const
{
    ScrollBox* box = scrollBoxOf(slot);
    return box ? box->content()->findChild<QWidget*>(slot + QLatin1Char('P'), Qt::FindDirectChildrenOnly)
               : nullptr;
}

QRadioButton* TForm1::chosenButton(const QString& slot) const
{
    const QButtonGroup* group = m_choiceGroups.value(slot);
    return group ? qobject_cast<QRadioButton*>(group->checkedButton()) : nullptr;
}

ScrollBox* TForm1::scrollBoxOf(const QString& slot) const
{
    const QCheckBox* box = slotCheckBox(slot);
    if (!box)
        return nullptr;
    // The column is told by the check box's place, as the layout puts it.
    return box->x() == layout::LeftColumnLeft ? ScrollBox1 : ScrollBox2;
}

void TForm1::centreOnScreen()
{
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}

QString TForm1::trackDir() const
{
    return PaTr->text();
}

QString TForm1::gameDir() const
{
    return PaGa->text();
}

bool TForm1::FormCreate()
{
    ArchiverPath = QDir::current().absoluteFilePath(ArchiverName);
    HomeDir = ArchiverPath.left(ArchiverPath.indexOf(ArchiverName));

    // The user has to learn which file is missing and where it was looked for.
    for (const QString& companion : {ArchiverName, InterpreterSettingsName}) {
        if (!platform::fs::fileExists(companion)) {
            platform::dialogs().message(
                this, QStringLiteral("Файл %1 не найден в папке %2, программа будет завершена!")
                          .arg(companion, QDir::toNativeSeparators(QDir::currentPath())));
            return false;
        }
    }

    // The lock file is the first thing this copy writes.
    m_singleCopy = std::make_unique<SingleCopy>(HomeDir);
    if (!m_singleCopy->claim(this))
        return false;

    GameLaunched = false;
    m_hintMirror = std::make_unique<HintMirror>([this](const QString& hint) { HintToStatusBar(hint); });
    connect(SkinForm1, &TSkinForm::hintChanged, m_hintMirror.get(), &HintMirror::hintChanged);

    readSettingsFile();
    if (gameDir() == QStringLiteral("не выбран") && !m_settingsUnread)
        findGameFolder();
    standard::takeAtFirstSight(HomeDir, gameDir());
    // Only the copy that holds the home folder gets here.
    removeLeftovers(HomeDir, trackDir(), gameDir());
    loadSkin();
    return true;
}

void TForm1::readSettingsFile()
{
    try {
        const std::optional<Settings> settings = readSettings(HomeDir + SettingsName);
        if (!settings)
            return;
        PaTr->setText(settings->trackDir);
        PaGa->setText(settings->gameDir);
        SavedState = settings->state;
        AddOnsMayBeInstalled = SavedState == QLatin1String("0");
        if (SavedState == QLatin1String("0"))
            NTr->setChecked(true);
        else
            StTr->setChecked(true);
        CheckTrass();
    } catch (const IoError& error) {
        // The state it holds is unknown: the game folders may hold add-ons under backups.
        m_settingsUnread = true;
        AddOnsMayBeInstalled = true;
        platform::dialogs().error(this, error.message());
    }
}

void TForm1::loadSkin()
{
    try {
        SkinForm1->LoadSkin(HomeDir + QStringLiteral("skin.ini"));
    } catch (const SkinError& error) {
        platform::dialogs().error(this, error.message());
    }
    // The controls mark hover and focus in the skin's own accent colour.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, skinAccent(SkinForm1->MouseUpBitmap, SkinForm1->MouseOnBitmap,
                                                     colours.color(QPalette::Highlight)));
    setPalette(colours);
}

bool TForm1::FormClose()
{
    // "1" only after a launch in standard mode whose restore left no backup behind.
    QString state = SavedState;
    if (AddOnsMayBeInstalled || (GameLaunched && !StTr->isChecked()))
        state = QStringLiteral("0");
    else if (GameLaunched)
        state = QStringLiteral("1");
    // A file that could not be read may still hold the user's folders and state: only new folder
    // choices are worth writing over it.
    if (!m_settingsUnread || m_folderChosen) {
        try {
            writeSettings(HomeDir + SettingsName, Settings{trackDir(), gameDir(), state});
        } catch (const IoError& error) {
            platform::dialogs().error(this, error.message());
            return false;
        }
    }
    m_startLocks.reset();
    removeTemporaryFiles();
    return true;
}

void TForm1::removeTemporaryFiles()
{
    namespace fs = platform::fs;
    // The lists are addressed by bare name: after a launch the current folder is the game's.
    for (const QString& name : {QStringLiteral("files.lst"), QStringLiteral("files1.lst")}) {
        if (fs::fileExists(name))
            fs::removeFile(name);
    }
    if (fs::fileExists(HomeDir + QStringLiteral("extrc.bat")))
        fs::removeFile(HomeDir + QStringLiteral("extrc.bat"));

    // Only the track files go, in any letter case: a work folder holding anything else is not ours
    // to empty, nor one that another copy works in now.
    const QString workFolder = install::workFolder(trackDir());
    if (!fs::folderExists(workFolder))
        return;
    FolderLock lock(StartLocks::workLockFile(workFolder));
    if (lock.take() == FolderLock::Outcome::HeldByAnother)
        return;
    install::prepareWorkFolder(workFolder);
    lock.release();
    fs::removeFolder(workFolder);
}

void TForm1::Button1Click(QPushButton* sender)
{
    // The two browse buttons are told apart by their place in the settings panel.
    const bool trackFolder = sender->y() == 27;
    const QString prompt = trackFolder
                               ? QStringLiteral("Выберите путь к папке с файлами трасс:")
                               : QStringLiteral("Выберите путь к каталогу игры (c файлом nfshs.exe):");
    QString folder = platform::dialogs().chooseFolder(this, prompt);
    if (!folder.isEmpty()) {
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        (trackFolder ? PaTr : PaGa)->setText(folder);
        m_folderChosen = true;
        if (!trackFolder)
            standard::takeAtFirstSight(HomeDir, folder);
    }
    if (trackFolder)
        CheckTrass();
    update();
    // A wrong folder is told at once; the choice stays, as the user made it.
    if (!folder.isEmpty()) {
        const QString problem =
            trackFolder ? foldercheck::libraryProblem(folder) : foldercheck::gameProblem(folder);
        if (!problem.isEmpty())
            platform::dialogs().message(this, problem);
    }
}

void TForm1::StTrClick()
{
    GroupBox1->setEnabled(false);
}

void TForm1::NTrClick()
{
    GroupBox1->setEnabled(true);
}

void TForm1::StTrLClick()
{
    StTr->setChecked(true);
}

void TForm1::NTrLClick()
{
    NTr->setChecked(true);
}

void TForm1::BitBtn1Click()
{
    const QString helpFile = HomeDir + HelpFileName;
    if (!m_helpViewer)
        m_helpViewer = new platform::HelpViewer;
    if (!m_helpViewer->showContents(helpFile)) {
        platform::dialogs().message(
            this, QStringLiteral("Справка не найдена: нет файла \"%1\".")
                      .arg(QDir::toNativeSeparators(platform::HelpViewer::contentsPage(helpFile))));
    }
}

void TForm1::BitBtn3Click()
{
    close();
}

void TForm1::HintToStatusBar(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    SBar->setText(bar < 0 ? hint : hint.mid(bar + 1));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TForm1::FormPaint()
{
    // The skin beneath shows through these four.
    for (QWidget* widget : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(OptPan),
                            static_cast<QWidget*>(StTr), static_cast<QWidget*>(NTr)}) {
        widget->setAutoFillBackground(false);
        if (widget->isHidden())
            widget->show();
    }
}

void TForm1::paintEvent(QPaintEvent* event)
{
    FormPaint();
    QWidget::paintEvent(event);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A push button with the focus takes Enter itself; anywhere else it means start.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isVisible())
            button->click();
        else
            BitBtn2->click();
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

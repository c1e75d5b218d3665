#include "uMain.h"

#include "engine/uIni.h"
#include "frames/uBrowser.h"
#include "frames/uSearch.h"
#include "frames/uVarMemo.h"
#include "frames/uVarNameEditor.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uLexivane.h"
#include "runtime/uResourceString.h"
#include "uAbout.h"
#include "uBarLayout.h"
#include "uFTPAccount.h"
#include "uFTPAddress.h"
#include "uGetSelection.h"
#include "uLangPackOptions.h"
#include "uLangPacksFrame.h"
#include "uOptions.h"
#include "uPackCache.h"
#include "uReOpenMenu.h"
#include "uVars.h"

#include <QAction>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace lx::editor {

LX_RESOURCESTRING(sMainCaption, "Редактор языковых пакетов");
LX_RESOURCESTRING(sMainCaptionFolder, "Приложение для работы с языкавыми пакетами - [%s]");
LX_RESOURCESTRING(sSaveChangesQ, "Сохранить изменения в текущем проекте?");
LX_RESOURCESTRING(sChooseFolder, "Укажите папку рабочую папку:");
LX_RESOURCESTRING(sStatistics, "Всего %d переменных для редактирования");
LX_RESOURCESTRING(sDeletePackCaption, "Удаление языка");
LX_RESOURCESTRING(sDeletePackPrompt, "Укажите язык, который Вы хотите удалить:");

TfMain::TfMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(sMainCaption());
    // Left column: the browser over the pack list; main area: the name field
    // over the value panel.
    auto* split = new QSplitter(this);
    split->setObjectName(QStringLiteral("splMain"));
    auto* left = new QSplitter(Qt::Vertical, split);
    left->setObjectName(QStringLiteral("pnlLeft"));
    // The browse area shows the browser or the search view.
    FBrowse = new QStackedWidget(left);
    FBrowse->setObjectName(QStringLiteral("pnlBrowse"));
    FBrowser = new TfrBrowser(FBrowse);
    FSearch = new TfrSearch(FBrowse);
    FBrowse->addWidget(FBrowser);
    FBrowse->addWidget(FSearch);
    FLangPacks = new TfrLangPacks(left);
    auto* main = new QWidget(split);
    main->setObjectName(QStringLiteral("pnlMain"));
    auto* mainColumn = new QVBoxLayout(main);
    mainColumn->setContentsMargins(0, 0, 0, 0);
    FNameEditor = new TfrVarNameEditor(main);
    FNameEditor->setFixedHeight(68);
    FVarMemo = new TfrVarMemo(main);
    // The name field stays at the top also while the value panel is hidden
    // (for a folder or a new name), instead of moving under the typing hand.
    mainColumn->addWidget(FNameEditor, 0, Qt::AlignTop);
    mainColumn->addWidget(FVarMemo, 1);
    split->addWidget(left);
    split->addWidget(main);
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(split, 1);
    FModalBar = new QWidget(central);
    FModalBar->setObjectName(QStringLiteral("pnlModalBottom"));
    auto* modalRow = new QHBoxLayout(FModalBar);
    modalRow->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), FModalBar);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), FModalBar);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    modalRow->addWidget(ok);
    modalRow->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, [this] { FinishModal(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { FinishModal(false); });
    FModalBar->hide();
    column->addWidget(FModalBar);
    setCentralWidget(central);
    FStatusBar = addToolBar(QStringLiteral("pnlStatus"));
    FStatusBar->setObjectName(QStringLiteral("pnlStatus"));
    FStatus = new QLineEdit(FStatusBar);
    FStatus->setObjectName(QStringLiteral("edtStatus"));
    FStatus->setReadOnly(true);
    FStatusBar->addWidget(FStatus);
    BuildMenus();
    new TPanelSizer(FStatusBar, this);
    new TPanelSizer(FBufBar, this);
    // The panels meet only through their interfaces.
    FLangPacks->SetGoMenu(FGo, [this](int pack) { FVarMemo->FocusPack(pack); });
    FBrowser->SetLangPack(FLangPacks->LangPack());
    FBrowser->SetNameEditor(FNameEditor);
    FBrowser->SetVarMemo(FVarMemo);
    FNameEditor->SetBrowser(FBrowser);
    FVarMemo->SetLangPack(FLangPacks->LangPack());
    FVarMemo->SetBrowser(FBrowser);
    FVarMemo->SetSelectSeveral([](const QString& caption, const QString& prompt,
                                  const std::vector<std::string>& rows, std::vector<bool>& ticks,
                                  const std::vector<std::string>& header) {
        return SelectSeveral(caption, prompt, rows, ticks, header);
    });
    FSearch->SetLinks(this, FLangPacks->LangPack(), FVarMemo, FNameEditor);
    FSearch->SetFlags(FBrowser);
    connect(FBrowser, &TfrBrowser::SelectedVarChanged, this, &TfMain::SelectedVarChanged);
    connect(FLangPacks, &TfrLangPacks::PacksChanged, this, [this] {
        FBrowser->Refresh();
        FVarMemo->Refresh();
    });

    // The editor localises itself: packs in lang/ beside the program, the
    // choice shared with the design package through the registry.
    FForm = new TLXForm(this);
    FForm->setObjectName(QStringLiteral("lxForm"));
    auto* resources = new TLXResource(this); // the texts built in code
    resources->setObjectName(QStringLiteral("lxResource"));
    FApp = new TLXApp(this);
    FApp->setObjectName(QStringLiteral("lxApp"));
    FApp->SetPackFolder("\\lang\\");
    FApp->SetCurrentPack("RUS.LNG");
    FApp->SetLanguagesMenuItem(findChild<QMenu*>(QStringLiteral("miLanguage")));
    FApp->OnDetectIDELang = [](TXMLIDEApp*, const std::vector<std::string>& packs, int& index,
                               bool&) {
        const std::string chosen = platform::TRegistry()
                                       .ReadString(platform::TRootKey::HKEY_LOCAL_MACHINE,
                                                   "SOFTWARE\\GLOTRIX\\SHARED", "lang")
                                       .value_or("");
        index = -1;
        for (std::size_t i = 0; i < packs.size(); ++i)
            if (platform::SameTextAscii(packs[i], chosen))
                index = static_cast<int>(i);
    };
    FApp->OnAppLangChanged = [this](TXMLIDEApp*, unsigned, const std::string& file,
                                    const std::string&) {
        const std::string name = file.substr(file.find_last_of('/') + 1);
        if (!platform::TRegistry().WriteString(platform::TRootKey::HKEY_LOCAL_MACHINE,
                                               "SOFTWARE\\GLOTRIX\\SHARED", "lang", name))
            host::HostUI().ShowError(QStringLiteral("Error creating system registry entry"));
        SetCaption();
        // The texts the panels set in code are read again in the new language
        // (Qt hands the event on to every child).
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(this, &changed);
    };
    ProgressManager().RegisterViewer(this, this);
    LoadWindowSettings();
    UpdateSetCommands();
    RebuildReopenMenu();
}

TfMain::~TfMain() {
    qApp->removeEventFilter(this);
    ProgressManager().RegisterViewer(this, nullptr);
    SaveWindowPositions();
    FNameEditor->SetBrowser(nullptr);
    FVarMemo->SetBrowser(nullptr);
    FVarMemo->SetLangPack(nullptr);
}

TNameFormat TfMain::ClipboardNameFormat() const {
    const auto checked = [this](const char* name) {
        const auto* a = findChild<QAction*>(QString::fromLatin1(name));
        return a && a->isChecked();
    };
    // HTML wins should both be set.
    return checked("miBufHTML")  ? TNameFormat::HTML
           : checked("miBufPHP") ? TNameFormat::PHP
                                 : TNameFormat::Standard;
}

// Ctrl+Insert copies the variable name in the template formats (PHP, HTML)
// in every control of the window, unless a menu command claims the key (Qt
// gives shortcuts their chance before the key press arrives here). With the
// standard format the focused control copies as it always does.
bool TfMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                          Qt::AltModifier | Qt::MetaModifier);
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (key->key() != Qt::Key_Insert || mods != Qt::ControlModifier || !widget ||
        widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    const TNameFormat format = ClipboardNameFormat();
    if (format == TNameFormat::Standard)
        return QMainWindow::eventFilter(watched, event);
    const auto* always = findChild<QAction*>(QStringLiteral("miclipAlways"));
    FNameEditor->CopyNameToClipboard(format, always && always->isChecked());
    ShowClipboardHint();
    return true;
}

void TfMain::Progress(const void*, int, int, long long position, long long maximum) {
    FStatus->setText(QString::fromStdString(
        ActionText(ProgressManager().Actions(), position, maximum, "bytes")));
    FStatus->repaint();
}

void TfMain::ActionsChanged(const void*, const std::vector<std::string>& actions) {
    FStatus->setText(QString::fromStdString(ActionText(actions, 0, 0)));
    FStatus->repaint();
}

void TfMain::Started(const void*) {
    menuBar()->setEnabled(false);
    FStatusBar->setEnabled(false);
}

void TfMain::Finished(const void*) {
    menuBar()->setEnabled(true);
    FStatusBar->setEnabled(true);
}

std::string TfMain::DisplayFolder(const std::string& folder) {
    return HidePassword(folder);
}

void TfMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QString::fromUtf8("Файл"));
    file->setObjectName(QStringLiteral("miFile"));
    FFileMenu = file;
    QAction* newPack = file->addAction(QString::fromUtf8("Добавить язык..."));
    newPack->setObjectName(QStringLiteral("miNewPack"));
    connect(newPack, &QAction::triggered, this, &TfMain::NewPackCommand);
    QAction* deletePack = file->addAction(QString::fromUtf8("Удалить Язык..."));
    deletePack->setObjectName(QStringLiteral("miDeletePack"));
    connect(deletePack, &QAction::triggered, this, &TfMain::DeletePackCommand);
    file->addSeparator();
    QMenu* setDir = file->addMenu(QString::fromUtf8("Указать Рабочую Папку"));
    setDir->setObjectName(QStringLiteral("miSetWorkDir"));
    for (const auto& [name, caption] : {std::pair{"miSetLocalWorkDir", "Локальный Ресурс"},
                                        {"miSetNetWorkDir", "Сетевой Ресурс"}}) {
        QAction* a = setDir->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this] {
            const QString dir = QFileDialog::getExistingDirectory(
                this, sChooseFolder(), QString::fromStdString(FLangPacks->WorkDir()));
            if (!dir.isEmpty() && CloseQuestion())
                OpenWorkingFolder(dir.toStdString());
        });
    }
    QAction* ftpDir = setDir->addAction(QString::fromUtf8("FTP Ресурс"));
    ftpDir->setObjectName(QStringLiteral("miFTPWorkDir"));
    connect(ftpDir, &QAction::triggered, this, &TfMain::FTPWorkDirCommand);
    FReopen = file->addMenu(QString::fromUtf8("Недавно используемые пакеты"));
    FReopen->setObjectName(QStringLiteral("miReopen"));
    QAction* save = file->addAction(QString::fromUtf8("Сохранить пакет"));
    save->setObjectName(QStringLiteral("miSaveAll"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &TfMain::SaveCommand);
    QAction* close = file->addAction(QString::fromUtf8("Закрыть пакет"));
    close->setObjectName(QStringLiteral("miClosePack"));
    connect(close, &QAction::triggered, this, [this] {
        if (CloseQuestion())
            WriteStr("main", "workdir", "", MainIniFileName());
    });
    QAction* refresh = file->addAction(QString::fromUtf8("Обновить"));
    refresh->setObjectName(QStringLiteral("miRefresh"));
    refresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(refresh, &QAction::triggered, this, &TfMain::RefreshCommand);
    QAction* options = file->addAction(QString::fromUtf8("Свойства..."));
    options->setObjectName(QStringLiteral("miOptions"));
    connect(options, &QAction::triggered, this, &TfMain::OptionsCommand);
    QAction* stats = file->addAction(QString::fromUtf8("Статистика..."));
    stats->setObjectName(QStringLiteral("N7"));
    connect(stats, &QAction::triggered, this, [this] {
        QString text = sStatistics();
        text.replace(QStringLiteral("%d"), QString::number(FBrowser->GetVarCount()));
        host::HostUI().ShowMessage(text);
    });
    QAction* exit = file->addAction(QString::fromUtf8("Выход"));
    exit->setObjectName(QStringLiteral("miExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    FGo = menuBar()->addMenu(QString::fromUtf8("Перейти"));
    FGo->setObjectName(QStringLiteral("miGo"));

    FNet = menuBar()->addMenu(QString::fromUtf8("Сеть"));
    FNet->setObjectName(QStringLiteral("miNet"));
    QAction* download = FNet->addAction(QString::fromUtf8("Загрузить данные с сервера"));
    download->setObjectName(QStringLiteral("miDowloadFromServer"));
    connect(download, &QAction::triggered, this, &TfMain::DownloadCommand);
    QAction* upload = FNet->addAction(QString::fromUtf8("Выгрузить данные на сервер "));
    upload->setObjectName(QStringLiteral("miUploadToServer"));
    connect(upload, &QAction::triggered, this, &TfMain::UploadCommand);

    QMenu* view = menuBar()->addMenu(QString::fromUtf8("Вид"));
    view->setObjectName(QStringLiteral("miView"));
    FViewEdit = view->addAction(QString::fromUtf8("Окно Добавления/Редактирования переменных"));
    FViewEdit->setObjectName(QStringLiteral("miAddView"));
    FViewFind = view->addAction(QString::fromUtf8("Окно Поиска/Редактирования Переменных"));
    FViewFind->setObjectName(QStringLiteral("miFindView"));
    for (QAction* a : {FViewEdit, FViewFind})
        a->setCheckable(true);
    FViewEdit->setChecked(true);
    connect(FViewEdit, &QAction::triggered, this, [this] { SwitchView(false); });
    connect(FViewFind, &QAction::triggered, this, [this] { SwitchView(true); });
    view->addSeparator();
    QMenu* language = view->addMenu(QString::fromUtf8("Язык интерфеса"));
    language->setObjectName(QStringLiteral("miLanguage"));

    QMenu* bars = view->addMenu(QString::fromUtf8("Панели инструментов"));
    bars->setObjectName(QStringLiteral("miTollBars"));
    FStandardChecked = AddCheck(bars, "miStandartBar", "Обычные кнопки", "positions", true);
    FNetBarChecked = AddCheck(bars, "miNetBar", "Сеть", "positions", true);
    FStatusChecked = AddCheck(bars, "miStatusBar", "Статус действия", "positions", true);
    FBufChecked = AddCheck(bars, "miBufBar", "Состояние буфера обмена", "positions", true);
    for (QAction* a : bars->actions())
        connect(a, &QAction::toggled, this, &TfMain::ApplyBarStates);

    QMenu* action = menuBar()->addMenu(QString::fromUtf8("Действие"));
    action->setObjectName(QStringLiteral("miAction"));
    FActionMenu = action;
    QAction* deleteVar = action->addAction(QString::fromUtf8("Удалить переменную"));
    deleteVar->setObjectName(QStringLiteral("miDeleteItem"));
    connect(deleteVar, &QAction::triggered, this, &TfMain::DeleteVarCommand);
    QAction* renameVar = action->addAction(QString::fromUtf8("Переименовать переменную"));
    renameVar->setObjectName(QStringLiteral("miRenameItem"));
    connect(renameVar, &QAction::triggered, this, &TfMain::RenameVarCommand);
    action->addAction(refresh);
    QAction* sync = action->addAction(QString::fromUtf8("Синхронизировать языки..."));
    sync->setObjectName(QStringLiteral("miSynhronizePacks"));
    connect(sync, &QAction::triggered, this, &TfMain::SynchronizeCommand);
    QAction* takeOver =
        action->addAction(QString::fromUtf8("Установить себя в качестве редактора пакета"));
    takeOver->setObjectName(QStringLiteral("miSetAsEditor"));
    connect(takeOver, &QAction::triggered, this, [this] { FLangPacks->Set().TakeOverPack(); });

    QMenu* tools = menuBar()->addMenu(QString::fromUtf8("Инструменты"));
    tools->setObjectName(QStringLiteral("N8"));
    QAction* wizard = tools->addAction(QString::fromUtf8("Мастер переименовывания шаблонов"));
    wizard->setObjectName(QStringLiteral("miCNWizard"));
    wizard->setEnabled(false); // the wizard opens from the browser after a move

    QMenu* prefs = menuBar()->addMenu(QString::fromUtf8("Настройки"));
    prefs->setObjectName(QStringLiteral("miPreferences"));
    QAction* keepTexts =
        AddCheck(prefs, "miDisableVarTextDeletion",
                 "Сделать недоступной ф-ию удаления текста переменной", "settings", true);
    // Stored first (AddCheck's handler), then the value panel follows it.
    connect(keepTexts, &QAction::toggled, this, [this] { FVarMemo->Refresh(); });
    QMenu* clip = prefs->addMenu(QString::fromUtf8("Буфер обмена для имен переменных"));
    clip->setObjectName(QStringLiteral("N5"));
    auto radioGroup = [&](std::vector<std::tuple<const char*, const char*, bool>> items) {
        auto* group = new QActionGroup(clip);
        group->setExclusive(true);
        std::vector<QAction*> actions;
        for (const auto& [name, caption, def] : items) {
            QAction* a = AddCheck(clip, name, caption, "settings", def);
            group->addAction(a);
            actions.push_back(a);
        }
        // Every click writes the states of the whole group.
        for (QAction* a : actions)
            connect(a, &QAction::triggered, this, [actions] {
                for (QAction* x : actions)
                    WriteBoolSetting("settings",
                                     "fMain." + x->objectName().toStdString() + ".Checked",
                                     x->isChecked());
            });
    };
    radioGroup({{"miBufStd", "Стандартный", false},
                {"miBufPHP", "PHP совместимый", false},
                {"miBufHTML", "HTML совместимый", true}});
    clip->addSeparator();
    radioGroup({{"miClipStd", "Копировать при фокусировки", true},
                {"miclipAlways", "Копировать всегда", false}});
    AddCheck(prefs, "miCNWizardAutoOpen",
             "Автоматически открывать мастер переименовывания шаблонов", "settings", true);

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("Помощь"));
    help->setObjectName(QStringLiteral("miHelp"));
    QAction* about = help->addAction(QString::fromUtf8("О программе..."));
    about->setObjectName(QStringLiteral("miAbout"));
    connect(about, &QAction::triggered, this, [this] {
        TfAbout box(this);
        box.exec();
    });

    // The tool bars: standard buttons, network buttons, the clipboard panel.
    FHotKeys = addToolBar(QStringLiteral("tBarHotKeys"));
    FHotKeys->setObjectName(QStringLiteral("tBarHotKeys"));
    // The buttons show pictures only (the style's standard ones), so that the
    // band fits the window; their texts and hints stay for the tool tips and
    // the packs.
    auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    auto button = [&icon](QToolBar* bar, const char* name, const char* hint, QAction* like,
                          QStyle::StandardPixmap picture) {
        QAction* b = bar->addAction(icon(picture), like->text());
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        QObject::connect(b, &QAction::triggered, like, &QAction::trigger);
        return b;
    };
    QAction* tbNewPack = button(FHotKeys, "tbtnNewPack", "Добавить новый язык...", newPack,
                                QStyle::SP_FileDialogNewFolder);
    QAction* tbDeletePack =
        button(FHotKeys, "tblDeletePack", "Удалить язык...", deletePack, QStyle::SP_TrashIcon);
    QAction* tbSave = button(FHotKeys, "tbtnSaveAll", "Сохранить все изменения локально", save,
                             QStyle::SP_DialogSaveButton);
    QAction* tbRenameVar = button(FHotKeys, "tbtnRenameVar", "Переименовать переменную", renameVar,
                                  QStyle::SP_FileDialogDetailedView);
    QAction* tbDeleteVar = button(FHotKeys, "tbtnDeleteVar", "Удалить переменную", deleteVar,
                                  QStyle::SP_DialogDiscardButton);
    QAction* tbRefresh =
        button(FHotKeys, "tbtnRefresh", "Обновить", refresh, QStyle::SP_BrowserReload);
    QAction* tbSync = button(FHotKeys, "tbtnSynhronize", "Синхронизировать яыки...", sync,
                             QStyle::SP_DialogApplyButton);
    FHotKeys->addSeparator();
    // The two views: exclusive buttons kept in step with their menu items.
    for (auto [name, hint, item, picture] :
         {std::tuple{"tbtnViewEdit", "Добавление/Редактирование переменных", FViewEdit,
                     QStyle::SP_FileDialogListView},
          std::tuple{"tbtnViewFind", "Поиск/Редактирование переменных", FViewFind,
                     QStyle::SP_FileDialogContentsView}}) {
        QAction* b = FHotKeys->addAction(icon(picture), item->text());
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        b->setCheckable(true);
        b->setChecked(item->isChecked());
        connect(item, &QAction::toggled, b, &QAction::setChecked);
        connect(b, &QAction::triggered, item, &QAction::trigger);
    }
    FNetBar = addToolBar(QStringLiteral("tbarNet"));
    FNetBar->setObjectName(QStringLiteral("tbarNet"));
    QAction* tbDownload = button(FNetBar, "tbtnDowloadFromServer", "Загрузить данные с сервера",
                                 download, QStyle::SP_ArrowDown);
    QAction* tbUpload = button(FNetBar, "tbtnUploadToServer", "Выгрузить данные на сервер", upload,
                               QStyle::SP_ArrowUp);
    FBufBar = addToolBar(QStringLiteral("pnlBufHint"));
    FBufBar->setObjectName(QStringLiteral("pnlBufHint"));
    auto* bufLabel = new QLabel(QString::fromUtf8("Содержимое буффера:"), FBufBar);
    bufLabel->setObjectName(QStringLiteral("lblBufHint"));
    FBufBar->addWidget(bufLabel);
    FBufHint = new QLineEdit(FBufBar);
    FBufHint->setObjectName(QStringLiteral("edtBufHint"));
    FBufHint->setEnabled(false);
    FBufBar->addWidget(FBufHint);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState st) {
        if (st != Qt::ApplicationActive)
            return;
        if (isVisible() && FNameEditor->isVisible())
            FNameEditor->FocusName();
        ShowClipboardHint();
    });
    qApp->installEventFilter(this);

    ApplyBarStates();
    FSetCommands = {tbNewPack,  tbDeletePack, tbSave,     tbRenameVar, tbDeleteVar,
                    tbRefresh,  tbSync,       tbDownload, tbUpload,    newPack,
                    deletePack, save,         close,      refresh,     download,
                    upload,     takeOver,     deleteVar,  renameVar,   sync};
    FSelectionCommands = {deleteVar, renameVar, tbDeleteVar, tbRenameVar};
    FVarCommands = {deleteVar,   renameVar,   sync,   refresh,   download,
                    tbDeleteVar, tbRenameVar, tbSync, tbRefresh, tbDownload};
}

// A check item kept in main.ini as fMain.<name>.Checked ("true" exactly).
QAction* TfMain::AddCheck(QMenu* menu, const char* name, const char* caption, const char* section,
                          bool def) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    const std::string key = std::string("fMain.") + name + ".Checked";
    a->setChecked(ReadBoolSetting(section, key, def));
    const std::string sect = section;
    connect(a, &QAction::toggled, this, [sect, key](bool on) { WriteBoolSetting(sect, key, on); });
    return a;
}

void TfMain::ApplyBarStates() {
    const bool modal = FModalBar && FModalBar->isVisible();
    if (FStatusBar)
        FStatusBar->setVisible(FStatusChecked->isChecked() && !modal);
    if (FHotKeys)
        FHotKeys->setVisible(FStandardChecked->isChecked() && !modal);
    if (FNetBar)
        FNetBar->setVisible(NetBarVisible() && !modal);
    if (FBufBar)
        FBufBar->setVisible(FBufChecked->isChecked() && !modal);
}

void TfMain::ShowClipboardHint() {
    FBufHint->clear();
    FBufHint->setText(QGuiApplication::clipboard()->text());
}

void TfMain::HandleIDERequest(int code, std::int64_t window, const std::string& sharedText) {
    if (code != 3)
        return; // code 1 (is an editor free?) is answered by the connection itself
    StartUp().IDEWindow = window;
    const TIDERequest r = ParseIDERequestText(sharedText);
    StartUp().StartItem = r.StartItem;
    SetModalMode(true);
    OpenWorkingFolder(r.Folder);
    FBrowser->Refresh();
    if (!r.StartItem.empty() && FBrowser->VarExists(r.StartItem))
        FBrowser->SelectVar(r.StartItem);
}

void TfMain::SetModalMode(bool on) {
    FModalBar->setVisible(on);
    menuBar()->setVisible(!on);
    ApplyBarStates();
}

void TfMain::FinishModal(bool ok) {
    SetModalMode(false);
    if (ok)
        SaveCommand();
    OpenWorkingFolder("");
    if (ModalStart)
        close();
}

bool TfMain::NetBarVisible() const {
    const std::string& folder = FLangPacks->WorkDir();
    return FNetBarChecked->isChecked() && (IsFTPPath(folder) || IsNetworkPath(folder));
}

void TfMain::UpdateSetCommands() {
    const std::string& folder = FLangPacks->WorkDir();
    for (QAction* a : FSetCommands)
        a->setEnabled(!folder.empty());
    FNet->setEnabled(IsFTPPath(folder) || IsNetworkPath(folder));
}

void TfMain::RebuildReopenMenu() {
    FReopen->clear();
    TFolderList list;
    LoadRecentExcept(FLangPacks->WorkDir(), MainIniFileName(), "menu", list);
    for (std::size_t n = 0; n < list.size(); ++n) {
        QAction* a = FReopen->addAction(
            QStringLiteral("%1:  %2").arg(n).arg(QString::fromStdString(DisplayFolder(list[n]))));
        a->setObjectName(QStringLiteral("mi_ro%1").arg(n));
        a->setData(static_cast<int>(n));
        connect(a, &QAction::triggered, this, [this, n] {
            TFolderList now;
            LoadRecentExcept(FLangPacks->WorkDir(), MainIniFileName(), "menu", now);
            if (n < now.size() && !now[n].empty() && CloseQuestion())
                OpenWorkingFolder(now[n]);
        });
    }
}

void TfMain::OpenWorkingFolder(const std::string& folder) {
    FSearch->StopAndWait(); // the set must not change under a running search
    if (!FLangPacks->WorkDir().empty())
        FLangPacks->Set().OpenWorkDir("");
    if (!folder.empty() && FLangPacks->WorkDir().empty())
        FLangPacks->Set().OpenWorkDir(folder);
    if (!FLangPacks->WorkDir().empty())
        AddRecent(FLangPacks->WorkDir(), MainIniFileName(), "menu");
    RebuildReopenMenu();
    UpdateSetCommands();
    ApplyBarStates();
    FOpenedOnce = true;
    SetCaption();
}

void TfMain::SetCaption() {
    setWindowTitle(FOpenedOnce
                       ? FillText(sMainCaptionFolder(), {DisplayFolder(FLangPacks->WorkDir())})
                       : sMainCaption());
}

bool TfMain::CloseQuestion() {
    if (FLangPacks->WorkDir().empty())
        return true;
    host::TMsgResult answer = host::TMsgResult::No;
    if (FLangPacks->Set().AnyPackModified())
        answer = host::HostUI().Ask(host::TMsgKind::Confirmation, sSaveChangesQ(),
                                    host::TMsgButtons::YesNoCancel);
    if (answer == host::TMsgResult::Cancel)
        return false;
    if (answer == host::TMsgResult::Yes)
        UploadCommand();
    OpenWorkingFolder("");
    return FLangPacks->WorkDir().empty(); // closing may still be refused for unsent packs
}

void TfMain::SaveCommand() {
    TLangPackSet& set = FLangPacks->Set();
    set.SaveModifiedPacks();
    if (!NetBarVisible())
        UploadCommand();
    set.SetPacksModified(false);
}

void TfMain::RefreshCommand() {
    if (!NetBarVisible())
        DownloadCommand();
    FLangPacks->Set().ReloadPacks();
}

void TfMain::DownloadCommand() {
    FLangPacks->Set().DownloadPacks();
    if (NetBarVisible())
        RefreshCommand();
}

void TfMain::UploadCommand() {
    if (NetBarVisible())
        SaveCommand();
    else
        FLangPacks->Set().SaveModifiedPacks();
    FLangPacks->Set().UploadPacks();
}

void TfMain::NewPackCommand() {
    TLangPackSet& set = FLangPacks->Set();
    std::string name;
    unsigned lcid = 0;
    int encoding = 0;
    if (!NewPackOptions(set.GetPackNames(false), name, lcid, encoding, this))
        return;
    TXMLTreeItem* pack = set.AddPack(name);
    if (!pack)
        return; // the set said why
    pack->SetLCID(lcid);
    pack->SetEncoding(static_cast<TPackEncoding>(encoding));
    FLangPacks->Rebuild(); // the new pack's language shows in the list
}

void TfMain::DeletePackCommand() {
    std::vector<std::string> header;
    const std::vector<std::string> rows = FLangPacks->Set().GetPackList(header, false);
    int row = -1;
    if (SelectOne(sDeletePackCaption(), sDeletePackPrompt(), rows, row, header) && row >= 0)
        FLangPacks->Set().DeletePack(row);
    UpdateCommandStates();
}

void TfMain::FTPWorkDirCommand() {
    TFTPUserData account;
    if (IsFTPPath(FLangPacks->WorkDir()))
        account = ParseFTPURL(FLangPacks->WorkDir());
    if (!EditFTPAccount(account, this) || !CloseQuestion())
        return;
    OpenWorkingFolder(BuildFTPURL(account));
    FBrowser->Refresh();
}

void TfMain::OptionsCommand() {
    const bool ok = ShowOptions(FLangPacks->LangPack(), -1, this);
    // Packs edited in the dialog changed already, whatever the answer.
    FLangPacks->Rebuild();
    if (ok)
        FBrowser->Refresh();
}

void TfMain::ListOnlyStart() {
    ShowOptions(FLangPacks->LangPack(), 1, this);
    SaveCommand();
    OpenWorkingFolder("");
    if (StartUp().IDEWindow != 0)
        close();
}

void TfMain::DeleteVarCommand() {
    FBrowser->DeleteSelected();
    UpdateCommandStates();
}

void TfMain::RenameVarCommand() {
    FBrowser->StartRename();
}

void TfMain::SynchronizeCommand() {
    FBrowser->SynchronizePacks();
}

void TfMain::SwitchView(bool find) {
    FSearchShown = find;
    FViewEdit->setChecked(!find);
    FViewFind->setChecked(find);
    IBrowserCtrl* view = find ? static_cast<IBrowserCtrl*>(FSearch) : FBrowser;
    FBrowse->setCurrentWidget(find ? static_cast<QWidget*>(FSearch) : FBrowser);
    FNameEditor->SetBrowser(view);
    FVarMemo->SetBrowser(view);
    const std::string current = view->GetSelectedVar();
    FNameEditor->SetVarName(current);
    FVarMemo->SetVarPath(current);
    UpdateCommandStates();
}

// While a search runs the packs must stay as they are: every panel but the
// search view is disabled, and so are the commands that change, reload or
// replace the packs.
void TfMain::EnableFrames(bool enabled, void* frame, bool spare) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{FBrowser, FSearch, FLangPacks, FNameEditor, FVarMemo})
        if (!(spare && w == frame))
            w->setEnabled(enabled);
    FFramesEnabled = enabled;
    if (!enabled) {
        // Every command of the menus and tool bars that touches the set (the
        // shortcuts included); the view, settings and help menus stay.
        std::vector<QAction*> actions;
        for (QMenu* menu : {FFileMenu, FNet, FActionMenu, FGo}) {
            std::vector<QMenu*> menus{menu};
            while (!menus.empty()) {
                QMenu* m = menus.back();
                menus.pop_back();
                for (QAction* a : m->actions()) {
                    actions.push_back(a);
                    if (a->menu())
                        menus.push_back(a->menu());
                }
            }
        }
        for (QToolBar* bar : {FHotKeys, FNetBar})
            for (QAction* a : bar->actions())
                if (!a->isCheckable()) // the view buttons stay
                    actions.push_back(a);
        for (QAction* a : actions)
            if (a->isEnabled()) {
                a->setEnabled(false);
                FDisabledForSearch.push_back(a);
            }
        FModalBar->setEnabled(false);
        return;
    }
    for (QAction* a : FDisabledForSearch)
        a->setEnabled(true);
    FDisabledForSearch.clear();
    FModalBar->setEnabled(true);
    UpdateSetCommands();
    UpdateCommandStates();
}

// After a view switch or a deletion, the commands on the browser's tree need
// the browser in view with a node selected.
void TfMain::UpdateCommandStates() {
    const bool on = VarSelected();
    for (QAction* a : FVarCommands)
        a->setEnabled(on);
}

bool TfMain::VarSelected() const {
    return !FLangPacks->WorkDir().empty() && !FSearchShown && !FBrowser->GetSelectedVar().empty();
}

// Deleting and renaming act on the selected node, so they also follow the
// selection: never offered for nothing, never withheld from a selected node.
void TfMain::SelectedVarChanged() {
    if (!FFramesEnabled)
        return;
    const bool on = VarSelected();
    for (QAction* a : FSelectionCommands)
        a->setEnabled(on);
}

void TfMain::closeEvent(QCloseEvent* e) {
    FSearch->StopAndWait(); // the set must not close under a running search
    if (CloseQuestion())
        e->accept();
    else
        e->ignore();
}

void TfMain::LoadWindowSettings() {
    const std::string ini = MainIniFileName();
    setGeometry(ReadInt("positions", "fMain.Left", 15, ini),
                ReadInt("positions", "fMain.Top", 15, ini),
                ReadInt("positions", "fMain.Width", 750, ini),
                ReadInt("positions", "fMain.Height", 520, ini));
    // The left column's width and the pack panel's height.
    auto* split = findChild<QSplitter*>(QStringLiteral("splMain"));
    auto* left = findChild<QSplitter*>(QStringLiteral("pnlLeft"));
    const int leftWidth = ReadInt("positions", "fMain.pnlLeft.Width", 200, ini);
    const int packsHeight = ReadInt("positions", "fMain.frLangPacks.Height", 150, ini);
    split->setSizes({leftWidth, std::max(1, width() - leftWidth)});
    left->setSizes({std::max(1, height() - packsHeight), packsHeight});
    // The rows of the tool bar band (the menu has a row of its own).
    auto place = [&ini](QToolBar* bar, int top, int leftPos) {
        const std::string key = "fMain." + bar->objectName().toStdString();
        return TBarPlace{bar, ReadInt("positions", key + ".Top", top, ini),
                         ReadInt("positions", key + ".Left", leftPos, ini)};
    };
    ArrangeBars(this, {place(FStatusBar, 2, 390), place(FHotKeys, 28, 11), place(FNetBar, 28, 273),
                       place(FBufBar, 28, 332)});
    TPanelSizer::SetWidth(FStatusBar, ReadInt("positions", "fMain.pnlStatus.Width", 267, ini));
    TPanelSizer::SetWidth(FBufBar, ReadInt("positions", "fMain.pnlBufHint.Width", 332, ini));
}

void TfMain::showEvent(QShowEvent* e) {
    FShownOnce = true;
    QMainWindow::showEvent(e);
}

void TfMain::SaveWindowPositions() {
    const std::string ini = MainIniFileName();
    const QRect g = geometry();
    WriteInt("positions", "fMain.Left", g.x(), ini);
    WriteInt("positions", "fMain.Top", g.y(), ini);
    WriteInt("positions", "fMain.Width", g.width(), ini);
    WriteInt("positions", "fMain.Height", g.height(), ini);
    if (auto* split = findChild<QSplitter*>(QStringLiteral("splMain")))
        WriteInt("positions", "fMain.pnlLeft.Width", split->sizes().value(0), ini);
    if (auto* left = findChild<QSplitter*>(QStringLiteral("pnlLeft")))
        WriteInt("positions", "fMain.frLangPacks.Height", left->sizes().value(1), ini);
    if (!FShownOnce)
        return; // a window never shown has no places of its own
    for (QToolBar* bar : {FStatusBar, FHotKeys, FNetBar, FBufBar}) {
        const std::string key = "fMain." + bar->objectName().toStdString();
        if (!bar->isHidden()) { // a hidden bar keeps the place it had
            WriteInt("positions", key + ".Top", bar->y(), ini);
            WriteInt("positions", key + ".Left", bar->x(), ini);
        }
    }
    WriteInt("positions", "fMain.pnlStatus.Width", FStatusBar->width(), ini);
    WriteInt("positions", "fMain.pnlBufHint.Width", FBufBar->width(), ini);
}

} // namespace lx::editor

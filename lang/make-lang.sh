#!/usr/bin/env bash
# Rebuilds the editor's own packs: RUS.lng (the default Russian texts) and
# ENU.lng (English). Each line of the table is PATH<TAB>RUSSIAN<TAB>ENGLISH.
#
# usage: lang/make-lang.sh [BUILD_DIR]   (default: build/default)
set -euo pipefail
cd "$(dirname "$0")"
LXPACK="${1:-../build/default}/tools/lxpack/lxpack"
[[ -x "$LXPACK" ]] || { echo "make-lang.sh: no $LXPACK (build the tools first)" >&2; exit 1; }
lxpack() { "$LXPACK" --sep . "$@"; }

rm -f RUS.lng ENU.lng
lxpack new RUS.lng --encoding UTF8 --lcid 1049
lxpack new ENU.lng --encoding UTF8 --lcid 1033
while IFS=$'\t' read -r path rus enu; do
    [[ -z "$path" ]] && continue
    lxpack set RUS.lng "$path" "$rus"
    lxpack set ENU.lng "$path" "$enu"
done <<'TABLE'
fMain.miFile.title	Файл	File
fMain.miSetWorkDir.title	Указать Рабочую Папку	Set Working Folder
fMain.miSetLocalWorkDir.text	Локальный Ресурс	Local Folder
fMain.miSetNetWorkDir.text	Сетевой Ресурс	Network Folder
fMain.miReopen.title	Недавно используемые пакеты	Recently Used Packs
fMain.miSaveAll.text	Сохранить пакет	Save Pack
fMain.miClosePack.text	Закрыть пакет	Close Pack
fMain.miRefresh.text	Обновить	Refresh
fMain.miExit.text	Выход	Exit
fMain.N7.text	Статистика...	Statistics...
fMain.miGo.title	Перейти	Go
fMain.miView.title	Вид	View
fMain.miLanguage.title	Язык интерфеса	Interface Language
fMain.miNet.title	Сеть	Network
fMain.miDowloadFromServer.text	Загрузить данные с сервера	Download from Server
fMain.miUploadToServer.text	Выгрузить данные на сервер 	Upload to Server
fMain.miNetBar.text	Сеть	Network
fMain.miTollBars.title	Панели инструментов	Tool Bars
fMain.miStandartBar.text	Обычные кнопки	Standard Buttons
fMain.miStatusBar.text	Статус действия	Action Status
fMain.miBufBar.text	Состояние буфера обмена	Clipboard Contents
fMain.miAction.title	Действие	Action
fMain.miSetAsEditor.text	Установить себя в качестве редактора пакета	Make Me the Editor of the Pack
fMain.N8.title	Инструменты	Tools
fMain.miCNWizard.text	Мастер переименовывания шаблонов	Template Rename Wizard
fMain.miPreferences.title	Настройки	Settings
fMain.miDisableVarTextDeletion.text	Сделать недоступной ф-ию удаления текста переменной	Disable Deleting a Variable's Text
fMain.N5.title	Буфер обмена для имен переменных	Clipboard for Variable Names
fMain.miBufStd.text	Стандартный	Standard
fMain.miBufPHP.text	PHP совместимый	PHP Compatible
fMain.miBufHTML.text	HTML совместимый	HTML Compatible
fMain.miClipStd.text	Копировать при фокусировки	Copy on Focus
fMain.miclipAlways.text	Копировать всегда	Copy Always
fMain.miCNWizardAutoOpen.text	Автоматически открывать мастер переименовывания шаблонов	Open the Template Rename Wizard Automatically
fMain.miHelp.title	Помощь	Help
fMain.miAbout.text	О программе...	About...
fMain.miNewPack.text	Добавить язык...	Add Language...
fMain.miDeletePack.text	Удалить Язык...	Delete Language...
fMain.miFTPWorkDir.text	FTP Ресурс	FTP Folder
fMain.miOptions.text	Свойства...	Properties...
fMain.miAddView.text	Окно Добавления/Редактирования переменных	Add/Edit Variables Window
fMain.miFindView.text	Окно Поиска/Редактирования Переменных	Find/Edit Variables Window
fMain.miDeleteItem.text	Удалить переменную	Delete Variable
fMain.miRenameItem.text	Переименовать переменную	Rename Variable
fMain.miSynhronizePacks.text	Синхронизировать языки...	Synchronise Languages...
fMain.tbtnNewPack.text	Добавить язык...	Add Language...
fMain.tbtnNewPack.toolTip	Добавить новый язык...	Add a new language...
fMain.tblDeletePack.text	Удалить Язык...	Delete Language...
fMain.tblDeletePack.toolTip	Удалить язык...	Delete a language...
fMain.tbtnSaveAll.text	Сохранить пакет	Save Pack
fMain.tbtnRenameVar.text	Переименовать переменную	Rename Variable
fMain.tbtnRenameVar.toolTip	Переименовать переменную	Rename the variable
fMain.tbtnDeleteVar.text	Удалить переменную	Delete Variable
fMain.tbtnDeleteVar.toolTip	Удалить переменную	Delete the variable
fMain.tbtnRefresh.text	Обновить	Refresh
fMain.tbtnSynhronize.text	Синхронизировать языки...	Synchronise Languages...
fMain.tbtnSynhronize.toolTip	Синхронизировать яыки...	Synchronise languages...
fMain.tbtnViewEdit.text	Окно Добавления/Редактирования переменных	Add/Edit Variables Window
fMain.tbtnViewEdit.toolTip	Добавление/Редактирование переменных	Adding/editing variables
fMain.tbtnViewFind.text	Окно Поиска/Редактирования Переменных	Find/Edit Variables Window
fMain.tbtnViewFind.toolTip	Поиск/Редактирование переменных	Finding/editing variables
fMain.tbtnDowloadFromServer.text	Загрузить данные с сервера	Download from Server
fMain.tbtnUploadToServer.text	Выгрузить данные на сервер 	Upload to Server
fMain.lblSearchType.text	Искать:	Look for:
fMain.cbxSearchType.Items.0.text	Все элементы	All items
fMain.cbxSearchType.Items.1.text	Элементы которые требуют редактирования	Items that need editing
fMain.cbxSearchType.Items.2.text	Переменные не имеющие аналогов на всех языках	Variables missing in some language
fMain.cbxSearchInVariables.text	Искать в имени переменной:	Look in the variable name:
fMain.cbxSearchInText.text	Искать текст:	Look for the text:
fMain.btnAction.text	Поиск	Search
fMain.tbtnSaveAll.toolTip	Сохранить все изменения локально	Save all changes locally
fMain.tbtnRefresh.toolTip	Обновить	Refresh
fMain.tbtnDowloadFromServer.toolTip	Загрузить данные с сервера	Download from Server
fMain.tbtnUploadToServer.toolTip	Выгрузить данные на сервер	Upload to Server
fMain.lblBufHint.text	Содержимое буффера:	Clipboard:
fMain.btnAdd.text	Добавить	Add
fAbout.btnClose.text	Закрыть	Close
fGetSelection.btnOk.text	Ок	Ok
fGetSelection.Button1.text	Отмена	Cancel
fFTPAccount.windowTitle	Настройка FTP соединения	FTP Connection Settings
fFTPAccount.lblHost.text	Имя Сервера:	Server Name:
fFTPAccount.lblUser.text	Имя Пользователя:	User Name:
fFTPAccount.lblPassword.text	Пароль:	Password:
fFTPAccount.lblFolder.text	Папка:	Folder:
fFTPAccount.lblPort.text	Порт:	Port:
fFTPAccount.btnTest.text	Проверка соединения	Test the Connection
fFTPAccount.btnOk.text	Ок	OK
fFTPAccount.btnCancel.text	Отмена	Cancel
fStartUp.lblHeader.text	Диалог выбора проекта по умолчанию	Choosing the project to start with
fStartUp.lblPrompt.text	Выберите один из предложеных вариантов:	Choose one of these:
fStartUp.rbtnDefault.text	Загрузить проект по умолчанию	Load the default project
fStartUp.rbtnOther.text	Загрузить другой проект	Load another project
fStartUp.rbtnEmpty.text	Начать с пустого проекта	Start with an empty project
fLangPackOptions.lblNameExists.text	Пакет с таким именем уже существует.	A pack with this name exists already.
fLangPackOptions.lblNameInvalid.text	Имя пакета не может содержать символы \ / : * ? " < > |.	A pack name cannot hold the characters \ / : * ? " < > |.
fLangPackOptions.chkUseISO3.text	Использовать ISO3 базового языка	Use the ISO3 name of the base language
fCNWizard.lblInfo1.text	   Используйте этот мастер для изменения име переменных хранящихся 	   Use this wizard to change the names of variables kept 
fCNWizard.lblInfo2.text	непосредственно в файлах.	directly in the files.
fCNWizard.lblWorkFolder.text	Папка с фалами:	Folder with the files:
fCNWizard.lblFilesMasks.text	Расширения файлов	File extensions
fCNWizard.CheckBox1.text	Не использовать корневой предлог (LANG_)	Do not use the root prefix (LANG_)
fCNWizard.btnScan.text	Сканировать	Scan
fCNWizard.btnCancel.text	Отмена	Cancel
TABLE
# Texts built in code: English only (the Russian ones are the program's own).
# Each line: CONSTANT<TAB>ENGLISH; the identifier comes from GlotrixEd.lxids.
while IFS=$'\t' read -r name enu; do
    [[ -z "$name" ]] && continue
    id=$(awk -v n="$name" '$3 == n { print $1 }' ../editor/GlotrixEd.lxids)
    [[ -n "$id" ]] || { echo "make-lang.sh: $name is not in GlotrixEd.lxids" >&2; exit 1; }
    # \r\n in the table stands for a line break of the text.
    lxpack set ENU.lng "resourcestring.$id" "$(printf '%b' "$enu")"
done <<'TABLE'
sConnectionTestOk	The connection test succeeded.
sConnectionTestFailed	The connection test failed!
sDownloadFailed	Could not download the file [%s] from the server
sUploadFailed	Could not upload the file [%s] to the server
sCheckAccess	Checking access to the pack
sEnterUserName	Enter the name you will be known by:
sPackLocked	   This language pack is being edited by "%s" right now.\r\n   Wait until that user has finished and press <Retry>, or restart the program.\r\n   To work with another pack, press <Cancel>.\r\n   To open it all the same, press <Ignore>.
sRegisterEntry	Registering on the server
sRegisterExit	Registering the exit on the server
sUploadWithoutAccess	You opened this pack while another user was editing it! Do you really want to write the data to the server?
sUserRegistration	User registration
sCheckAvailability	Checking whether the pack is available
sDeleteLangQ	Do you really want to delete the language [%s] kept in the file [%s]
sFileNameHeader	File Name
sLanguageHeader	Language
sNotAvailable	The resource [%s] is not available!
sPackExists	The language [%s] is already in the pack
sRefreshFiles	Updating the files
sPackListCaption	Languages:
sChooseFolder	Choose the working folder:
sMainCaption	Language pack editor
sMainCaptionFolder	Language pack editor - [%s]
sSaveChangesQ	Save the changes to the current project?
sCannotCopy	The program cannot copy the files to the folder [%s]!
sDownloadAction	Downloading the files from the server
sRecoverOtherQ	The program failed in its last session and could not write the data back to the folder [%s]. That data does not belong to the folder being opened [%s]. Open the folder [%s] with the old data instead?
sRecoverQ	The program failed in its last session and could not write the data back to the folder [%s]. Do you want to go back to the old data?
sUnsentPacksQ	Saved changes of the language packs have not been written back to the folder [%s] yet. Write them now?
sUploadAction	Uploading the files to the server
sAction	Action:
sBytes	bytes
sSearchStart	Search
sSearchStop	Stop
sStatistics	%d variables to edit in all
sEditorMarkHint	Mark the element as needing translation later...
sEditorNeedsEditing	The value of this variable needs editing in other packs
sMemoDeleteTextQ	Do you really want to delete the text of the variable [%s] from the language pack [%s]
sMemoTextWouldBeLost	The variable [%s] of the language pack [%s] holds text. Adding the variable [%s] would make it a folder, and that text would be lost.
sNameNoteAdd	Attention! To add a variable with this name, press <Add>
sNameNoteCannotAdd	Attention! This variable cannot be added in this mode
sNameNoteEmptyPart	Attention! A name with an empty part in its path cannot be added
sNameStatus	Status:
sNameStatusEdit	Editing a variable
sNameStatusNew	New variable
sAddPackCaption	Add new language pack
sEditPackCaption	Edit language pack options
sOptionsCaption	Settings
sBytesUnit	B
sChooseHostApp	Host application
sCNWizardCaption	Variable name change wizard
sOldNameHeader	Old name
sNewNameHeader	New name
sChooseTemplateFolder	Choose the folder with the files:
sScanFinished	Scanning finished.
sScanStopped	Scanning stopped: the file [%s] could not be changed. The files after it were not looked at.
sBadItemName	Bad item name.
sCannotWriteFlags	   The mark could not be written to the file [%s].
sChooseFolderCaption	Choose a folder
sChooseFolderPrompt	   The variable [%s] contained text. Because an item was added, this variable became a folder and can no longer hold that text.\r\n   Enter the name of the variable to move the text to and press <Ok>.
sDeleteVar	Delete Variable
sDeleteVarQ	   Do you really want to delete the variable [%s]?
sFolderTargetRefused	   The name [%s] cannot be used: it is not a valid name, or it names a folder, this same variable or a variable that already holds text. Enter another name.
sMoveIntoText	   The variable [%s] holds text and cannot become a folder. The move was cancelled.
sMoveNameClash	   The folder [%s] already holds an item named [%s]. The move was cancelled.
sMoveQ	The move function was activated. Do you really want to move the variable %s to %s
sRenameVar	Rename Variable
sShowAll	Show all
sSyncCaption	Choose the language for synchronisation
sSyncPrompt	   Choose the model language from the drop-down list and tick the languages that receive the data
sDeletePackCaption	Deleting a language
sDeletePackPrompt	Choose the language you want to delete:
sReviewCaption	Choose languages
sReviewPrompt	   Choose the languages in which this variable needs editing [%s]
TABLE
lxpack check RUS.lng ENU.lng

#!/usr/bin/env bash
# Rebuilds the demo's packs lang/ENU.lng, lang/RUS.lng and lang/DEU.lng the way
# a developer localises a program: lxpreview writes the forms' own texts into
# the English pack, lxpack removes the entries without text and adds the texts
# of the program's code, and each translation is a copy with every value
# replaced. A translation table that misses a text of the English pack, or
# names one it does not have, stops the run.
#
# The texts of the code are the program's resource strings (DemoTexts.h). A
# pack holds each one as resourcestring.<identifier>; the tables below name it
# by its symbol in lxdemo.drc, which the build writes beside the program
# (resourcestring.DemoTexts_sReady), and the run puts in the identifier. The
# English table must hold every resource string of the program, with the text
# its declaration gives.
#
# usage: examples/demoapp/make-packs.sh [BUILD_DIR]   (default: build/default)
set -euo pipefail
cd "$(dirname "$0")"
BUILD="${1:-../../build/default}"
LXPREVIEW="$BUILD/tools/lxpreview/lxpreview"
LXPACK="$BUILD/tools/lxpack/lxpack"
DRC="$BUILD/examples/demoapp/lxdemo.drc"
for tool in "$LXPREVIEW" "$LXPACK"; do
    if [[ ! -x "$tool" ]]; then
        echo "make-packs.sh: no $tool (build the tools first)" >&2
        exit 1
    fi
done
if [[ ! -f "$DRC" ]]; then
    echo "make-packs.sh: no $DRC (build lxdemo first)" >&2
    exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The program's resource strings: "SYMBOL<TAB>IDENTIFIER" lines.
awk '$1 == "#define" { print $2 "\t" $3 }' "$DRC" >"$work/ids.txt"
if [[ -n "$(cut -f1 "$work/ids.txt" | sort | uniq -d)" ]]; then
    echo "make-packs.sh: $DRC names a symbol twice" >&2
    exit 1
fi
# An empty program folder for lxpreview, so that its languages menu stays empty.
export LX_APP_DIR="$work/"

lxpack() { "$LXPACK" --sep . "$@"; }

# variables FILE: the path of every variable outside SYSTEM, one a line, sorted.
variables() {
    lxpack dump "$1" | awk '$2 !~ /^SYSTEM\./ && $3 == "=" { print $2 }' | LC_ALL=C sort
}

# fill FILE: reads "PATH<TAB>VALUE" lines, sets each value and reads it back.
fill() {
    local file="$1" path value
    while IFS=$'\t' read -r path value; do
        [[ -z "$path" ]] && continue
        lxpack set "$file" "$path" "$value"
        if [[ "$(lxpack get "$file" "$path")" != "$value" ]]; then
            echo "make-packs.sh: $file: $path does not read back as '$value'" >&2
            exit 1
        fi
    done
}

# by_identifier: copies a table from standard input with each resource string
# named by its identifier instead of its symbol; a symbol the program does not
# have stops the run.
by_identifier() {
    awk -F'\t' -v OFS='\t' '
        NR == FNR { id[$1] = $2; next }
        $1 ~ /^resourcestring\./ {
            symbol = substr($1, length("resourcestring.") + 1)
            if (!(symbol in id)) {
                print "make-packs.sh: the program has no resource string " symbol > "/dev/stderr"
                exit 1
            }
            $1 = "resourcestring." id[symbol]
        }
        { print }' "$work/ids.txt" -
}

# translate FILE LCID: a copy of the English pack in another language; the
# table on standard input must cover exactly the English pack's variables.
translate() {
    local file="lang/$1" table="$work/$1.txt"
    by_identifier >"$table"
    if ! diff <(variables lang/ENU.lng) <(cut -f1 "$table" | grep -v '^$' | LC_ALL=C sort); then
        echo "make-packs.sh: the $1 table and ENU.lng hold different texts (< ENU, > $1)" >&2
        exit 1
    fi
    cp lang/ENU.lng "$file"
    lxpack lcid "$file" "$2" >/dev/null
    fill "$file" <"$table"
}

rm -f lang/*.lng
mkdir -p lang
lxpack new lang/ENU.lng --encoding UTF8 --lcid 1033
for form in fMain.ui fOptions.ui AddressFrame.ui; do
    "$LXPREVIEW" "$form" --save-pack lang/ENU.lng
done
# Properties the forms leave empty are no texts: tool tips nobody wrote, and the
# fields the user types into (a line edit's text), which the pack would clear
# on every change of language. Removing a folder's last variable can leave the
# folder itself as an empty variable, hence the repeat.
while :; do
    empty="$(lxpack dump lang/ENU.lng | awk '$3 == "=" && NF == 3 { print $2 }')"
    [[ -z "$empty" ]] && break
    while read -r path; do
        lxpack delete lang/ENU.lng "$path"
    done <<<"$empty"
done

# The texts of the program's code, as DemoTexts.h declares them.
by_identifier >"$work/code.txt" <<'TABLE'
resourcestring.DemoTexts_sReady	Ready
resourcestring.DemoTexts_sLanguageChanged	Texts are now in English
resourcestring.DemoTexts_sOpenTitle	Open a customer file
resourcestring.DemoTexts_sFileFilter	Customer files (*.cst);;All files (*)
resourcestring.DemoTexts_sOpened	Opened %1
resourcestring.DemoTexts_sSaved	Changes saved
resourcestring.DemoTexts_sApplied	Customer "%1" stored
resourcestring.DemoTexts_sNoName	Enter the customer's name first
resourcestring.DemoTexts_sAboutTitle	About Glotrix demo
resourcestring.DemoTexts_sAboutText	Glotrix demo: a Qt Widgets program that changes its language while it runs.
resourcestring.DemoTexts_sMainTitle	Glotrix demo - customer records
resourcestring.DemoTexts_sMainTitleFile	%1 - Glotrix demo
TABLE
if ! diff <(cut -f2 "$work/ids.txt" | LC_ALL=C sort) \
    <(cut -f1 "$work/code.txt" | sed 's/^resourcestring\.//' | LC_ALL=C sort); then
    echo "make-packs.sh: the English table and $DRC hold different resource strings" \
        "(< program, > table)" >&2
    exit 1
fi
fill lang/ENU.lng <"$work/code.txt"

translate RUS.lng 1049 <<'TABLE'
fMain.toolBar.windowTitle	Основная панель
fMain.actOpen.text	&Открыть...
fMain.actOpen.toolTip	Открыть файл клиента
fMain.actOpen.statusTip	Открыть файл клиента с диска
fMain.actSave.text	&Сохранить
fMain.actSave.toolTip	Сохранить клиента
fMain.actSave.statusTip	Сохранить изменения в файле клиента
fMain.actExit.text	В&ыход
fMain.actExit.toolTip	Выход
fMain.actExit.statusTip	Закрыть программу
fMain.actToolBar.text	&Панель инструментов
fMain.actToolBar.toolTip	Показать или скрыть панель инструментов
fMain.actToolBar.statusTip	Показать или скрыть панель инструментов под меню
fMain.actOptions.text	П&араметры...
fMain.actOptions.toolTip	Параметры
fMain.actOptions.statusTip	Изменить настройки программы
fMain.actAbout.text	&О программе...
fMain.actAbout.toolTip	О программе
fMain.actAbout.statusTip	Версия программы и авторские права
fMain.tabMain.Tabs.0.text	&Файлы
fMain.tabMain.Tabs.1.text	&Клиент
fMain.tabMain.Tabs.2.text	&Заметки
fMain.lblTags.text	Метки:
fMain.lstTags.Items.0.text	Постоянный клиент
fMain.lstTags.Items.1.text	Перезвонить
fMain.lstTags.Items.2.text	Счёт просрочен
fMain.lblNotes.text	З&аметки:
fMain.edtNotes.placeholderText	Всё, что стоит помнить об этом клиенте
fMain.grpCustomer.title	Клиент
fMain.lblName.text	&Имя:
fMain.edtName.placeholderText	Имя и фамилия
fMain.lblKind.text	&Вид:
fMain.cbxKind.Items.0.text	Частное лицо
fMain.cbxKind.Items.1.text	Компания
fMain.cbxKind.Items.2.text	Государственное учреждение
fMain.btnApply.toolTip	Сохранить клиента в списке
fMain.btnApply.text	&Применить
fMain.btnClear.toolTip	Очистить все поля клиента
fMain.btnClear.text	О&чистить
fMain.grpHome.title	&Домашний адрес
fMain.grpWork.title	&Рабочий адрес
fMain.lblFiles.text	Недавно открытые файлы клиентов:
fMain.treeFiles.Columns.0.text	Имя
fMain.treeFiles.Columns.1.text	Размер
fMain.treeFiles.Columns.2.text	Изменён
fMain.menuFile.title	&Файл
fMain.menuView.title	&Вид
fMain.menuLanguage.title	&Язык
fMain.menuHelp.title	&Справка
fOptions.windowTitle	Параметры
fOptions.grpGeneral.title	Общие
fOptions.chkAutoSave.text	Сохранять изменения &автоматически
fOptions.chkConfirmExit.text	Спрашивать перед &закрытием программы
fOptions.lblStartTab.text	&Открывать при запуске:
fOptions.cbxStartTab.Items.0.text	Файлы
fOptions.cbxStartTab.Items.1.text	Клиент
fOptions.cbxStartTab.Items.2.text	Заметки
fOptions.grpUnits.title	Единицы измерения
fOptions.rbMetric.text	&Метрические (килограммы, метры)
fOptions.rbImperial.text	&Имперские (фунты, футы)
fOptions.btnOK.text	ОК
fOptions.btnCancel.text	Отмена
AddressFrame.lblStreet.text	&Улица:
AddressFrame.edtStreet.placeholderText	Улица и номер дома
AddressFrame.lblPostCode.text	&Индекс:
AddressFrame.edtPostCode.placeholderText	Почтовый индекс
AddressFrame.lblCity.text	&Город:
AddressFrame.edtCity.placeholderText	Город или посёлок
AddressFrame.chkPostal.toolTip	Письма и посылки отправляются на этот адрес
AddressFrame.chkPostal.text	Для почты
resourcestring.DemoTexts_sReady	Готово
resourcestring.DemoTexts_sLanguageChanged	Тексты теперь на русском
resourcestring.DemoTexts_sOpenTitle	Открыть файл клиента
resourcestring.DemoTexts_sFileFilter	Файлы клиентов (*.cst);;Все файлы (*)
resourcestring.DemoTexts_sOpened	Открыт файл %1
resourcestring.DemoTexts_sSaved	Изменения сохранены
resourcestring.DemoTexts_sApplied	Клиент «%1» сохранён
resourcestring.DemoTexts_sNoName	Сначала введите имя клиента
resourcestring.DemoTexts_sAboutTitle	О демо Glotrix
resourcestring.DemoTexts_sAboutText	Демо Glotrix: программа на Qt Widgets, которая меняет язык прямо во время работы.
resourcestring.DemoTexts_sMainTitle	Демо Glotrix — карточки клиентов
resourcestring.DemoTexts_sMainTitleFile	%1 — демо Glotrix
TABLE

translate DEU.lng 1031 <<'TABLE'
fMain.toolBar.windowTitle	Hauptsymbolleiste
fMain.actOpen.text	Ö&ffnen...
fMain.actOpen.toolTip	Kundendatei öffnen
fMain.actOpen.statusTip	Eine Kundendatei vom Datenträger öffnen
fMain.actSave.text	&Speichern
fMain.actSave.toolTip	Kunden speichern
fMain.actSave.statusTip	Änderungen in der Kundendatei speichern
fMain.actExit.text	&Beenden
fMain.actExit.toolTip	Beenden
fMain.actExit.statusTip	Das Programm schließen
fMain.actToolBar.text	&Werkzeugleiste
fMain.actToolBar.toolTip	Werkzeugleiste ein- oder ausblenden
fMain.actToolBar.statusTip	Die Werkzeugleiste unter dem Menü ein- oder ausblenden
fMain.actOptions.text	&Einstellungen...
fMain.actOptions.toolTip	Einstellungen
fMain.actOptions.statusTip	Die Einstellungen des Programms ändern
fMain.actAbout.text	Ü&ber...
fMain.actAbout.toolTip	Über das Programm
fMain.actAbout.statusTip	Version und Urheberrecht des Programms
fMain.tabMain.Tabs.0.text	&Dateien
fMain.tabMain.Tabs.1.text	&Kunde
fMain.tabMain.Tabs.2.text	&Notizen
fMain.lblTags.text	Schlagwörter:
fMain.lstTags.Items.0.text	Stammkunde
fMain.lstTags.Items.1.text	Zurückrufen
fMain.lstTags.Items.2.text	Rechnung überfällig
fMain.lblNotes.text	N&otizen:
fMain.edtNotes.placeholderText	Alles, was man über diesen Kunden wissen sollte
fMain.grpCustomer.title	Kunde
fMain.lblName.text	&Name:
fMain.edtName.placeholderText	Vor- und Nachname
fMain.lblKind.text	&Art:
fMain.cbxKind.Items.0.text	Privatperson
fMain.cbxKind.Items.1.text	Firma
fMain.cbxKind.Items.2.text	Behörde
fMain.btnApply.toolTip	Den Kunden in die Liste übernehmen
fMain.btnApply.text	Ü&bernehmen
fMain.btnClear.toolTip	Alle Felder des Kunden leeren
fMain.btnClear.text	&Leeren
fMain.grpHome.title	&Privatadresse
fMain.grpWork.title	&Geschäftsadresse
fMain.lblFiles.text	Zuletzt geöffnete Kundendateien:
fMain.treeFiles.Columns.0.text	Name
fMain.treeFiles.Columns.1.text	Größe
fMain.treeFiles.Columns.2.text	Geändert
fMain.menuFile.title	&Datei
fMain.menuView.title	&Ansicht
fMain.menuLanguage.title	&Sprache
fMain.menuHelp.title	&Hilfe
fOptions.windowTitle	Einstellungen
fOptions.grpGeneral.title	Allgemein
fOptions.chkAutoSave.text	Änderungen &automatisch speichern
fOptions.chkConfirmExit.text	Vor dem &Schließen des Programms nachfragen
fOptions.lblStartTab.text	Beim S&tart öffnen:
fOptions.cbxStartTab.Items.0.text	Dateien
fOptions.cbxStartTab.Items.1.text	Kunde
fOptions.cbxStartTab.Items.2.text	Notizen
fOptions.grpUnits.title	Maßeinheiten
fOptions.rbMetric.text	&Metrisch (Kilogramm, Meter)
fOptions.rbImperial.text	&Imperial (Pfund, Fuß)
fOptions.btnOK.text	OK
fOptions.btnCancel.text	Abbrechen
AddressFrame.lblStreet.text	&Straße:
AddressFrame.edtStreet.placeholderText	Straße und Hausnummer
AddressFrame.lblPostCode.text	&Postleitzahl:
AddressFrame.edtPostCode.placeholderText	Postleitzahl
AddressFrame.lblCity.text	&Ort:
AddressFrame.edtCity.placeholderText	Stadt oder Gemeinde
AddressFrame.chkPostal.toolTip	Briefe und Pakete gehen an diese Adresse
AddressFrame.chkPostal.text	Für Post verwenden
resourcestring.DemoTexts_sReady	Bereit
resourcestring.DemoTexts_sLanguageChanged	Texte jetzt auf Deutsch
resourcestring.DemoTexts_sOpenTitle	Kundendatei öffnen
resourcestring.DemoTexts_sFileFilter	Kundendateien (*.cst);;Alle Dateien (*)
resourcestring.DemoTexts_sOpened	%1 geöffnet
resourcestring.DemoTexts_sSaved	Änderungen gespeichert
resourcestring.DemoTexts_sApplied	Kunde „%1“ übernommen
resourcestring.DemoTexts_sNoName	Bitte zuerst den Namen des Kunden eingeben
resourcestring.DemoTexts_sAboutTitle	Über die Glotrix-Demo
resourcestring.DemoTexts_sAboutText	Glotrix-Demo: ein Qt-Widgets-Programm, das seine Sprache während des Betriebs wechselt.
resourcestring.DemoTexts_sMainTitle	Glotrix-Demo – Kundenkartei
resourcestring.DemoTexts_sMainTitleFile	%1 – Glotrix-Demo
TABLE

lxpack check lang/*.lng
lxpack stats lang/*.lng

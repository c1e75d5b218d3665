#!/usr/bin/env bash
# Rebuilds the sample working folder with lxpack: RUS.lng, ENU.lng, DEU.lng,
# UKR.lng and package.ini. Every value is read back after writing, and every
# pack is checked at the end, so a run that finishes has produced packs that
# give back exactly the texts below.
#
# usage: examples/packs/make-samples.sh [LXPACK]
#   LXPACK  the lxpack executable (default: $LXPACK, else the default build)
set -euo pipefail
cd "$(dirname "$0")"
LXPACK="${1:-${LXPACK:-../../build/default/tools/lxpack/lxpack}}"
if [[ ! -x "$LXPACK" ]]; then
    echo "make-samples.sh: no lxpack at $LXPACK (build it first)" >&2
    exit 1
fi

# fill FILE: reads "PATH<TAB>VALUE" lines from standard input, sets each value
# and reads it back.
fill() {
    local file="$1" path value back
    while IFS=$'\t' read -r path value; do
        [[ -z "$path" ]] && continue
        "$LXPACK" set "$file" "$path" "$value"
        back="$("$LXPACK" get "$file" "$path")"
        if [[ "$back" != "$value" ]]; then
            echo "make-samples.sh: $file: $path reads back as '$back', not '$value'" >&2
            exit 1
        fi
    done
}

# expect FILE ENCODING LCID: the pack's own SYSTEM items say what was asked for.
expect() {
    local file="$1" encoding lcid
    encoding="$("$LXPACK" encoding "$file")"
    lcid="$("$LXPACK" lcid "$file")"
    if [[ "$encoding" != "$2" || "$lcid" != "$3" ]]; then
        echo "make-samples.sh: $file is $encoding/$lcid, not $2/$3" >&2
        exit 1
    fi
}

rm -f RUS.lng ENU.lng DEU.lng UKR.lng package.ini

# English, the language the program is written in: ANSI (code page 1251 holds
# every character used here, the copyright sign included).
"$LXPACK" new ENU.lng --encoding ANSI --lcid 1033
fill ENU.lng <<'EOF'
fMain_Caption	Glotrix - sample program
fMain_miFile_Caption	&File
fMain_miOpen_Caption	&Open...
fMain_miOpen_Hint	Open a file from disk
fMain_miSave_Caption	&Save
fMain_miSave_Hint	Save the changes to the file
fMain_miExit_Caption	E&xit
fMain_miExit_Hint	Close the program
fMain_miHelp_Caption	&Help
fMain_miAbout_Caption	&About...
fMain_miAbout_Hint	Version and copyright
fMain_btnOK_Caption	OK
fMain_btnCancel_Caption	Cancel
fMain_lblStatus_Caption	Ready
fOptions_Caption	Options
fOptions_lblLanguage_Caption	Interface language:
fOptions_cbAutoSave_Caption	Save automatically
fOptions_lblPreview_Caption	<b>Bold</b> and <i>italic</i>
fOptions_btnOK_Caption	OK
fOptions_btnCancel_Caption	Cancel
fAbout_Caption	About Glotrix
fAbout_lblVersion_Caption	Version %s
fAbout_lblCopyright_Caption	© Glotrix developers
fAbout_btnClose_Caption	Close
resourcestring_65001	File not found: %s
resourcestring_65002	Save the changes to %s?
resourcestring_65003	The size must be < %d MB
resourcestring_65004	Nothing found
LANG_Welcome	Welcome, %s!
LANG_Login	Log in
LANG_Logout	Log out
LANG_Password	Password
LANG_Footer	<b>Glotrix</b> sample site
EOF
expect ENU.lng ANSI 1033

# Russian: UTF8.
"$LXPACK" new RUS.lng --encoding UTF8 --lcid 1049
fill RUS.lng <<'EOF'
fMain_Caption	Glotrix — пример программы
fMain_miFile_Caption	&Файл
fMain_miOpen_Caption	&Открыть...
fMain_miOpen_Hint	Открыть файл с диска
fMain_miSave_Caption	&Сохранить
fMain_miSave_Hint	Сохранить изменения в файл
fMain_miExit_Caption	В&ыход
fMain_miExit_Hint	Закрыть программу
fMain_miHelp_Caption	&Справка
fMain_miAbout_Caption	&О программе...
fMain_miAbout_Hint	Версия и авторские права
fMain_btnOK_Caption	ОК
fMain_btnCancel_Caption	Отмена
fMain_lblStatus_Caption	Готово
fOptions_Caption	Настройки
fOptions_lblLanguage_Caption	Язык интерфейса:
fOptions_cbAutoSave_Caption	Сохранять автоматически
fOptions_lblPreview_Caption	<b>Жирный</b> и <i>курсив</i>
fOptions_btnOK_Caption	ОК
fOptions_btnCancel_Caption	Отмена
fAbout_Caption	О программе Glotrix
fAbout_lblVersion_Caption	Версия %s
fAbout_lblCopyright_Caption	© Разработчики Glotrix
fAbout_btnClose_Caption	Закрыть
resourcestring_65001	Файл не найден: %s
resourcestring_65002	Сохранить изменения в %s?
resourcestring_65003	Размер должен быть < %d МБ
resourcestring_65004	Ничего не найдено
LANG_Welcome	Добро пожаловать, %s!
LANG_Login	Войти
LANG_Logout	Выйти
LANG_Password	Пароль
LANG_Footer	<b>Glotrix</b> — пример сайта
EOF
expect RUS.lng UTF8 1049

# German: UTF8, since code page 1251 (ANSI, and HTML below 256) has no
# umlauts or ß.
"$LXPACK" new DEU.lng --encoding UTF8 --lcid 1031
fill DEU.lng <<'EOF'
fMain_Caption	Glotrix – Beispielprogramm
fMain_miFile_Caption	&Datei
fMain_miOpen_Caption	Ö&ffnen...
fMain_miOpen_Hint	Eine Datei vom Datenträger öffnen
fMain_miSave_Caption	&Speichern
fMain_miSave_Hint	Die Änderungen in der Datei speichern
fMain_miExit_Caption	&Beenden
fMain_miExit_Hint	Das Programm schließen
fMain_miHelp_Caption	&Hilfe
fMain_miAbout_Caption	Ü&ber...
fMain_miAbout_Hint	Version und Urheberrecht
fMain_btnOK_Caption	OK
fMain_btnCancel_Caption	Abbrechen
fMain_lblStatus_Caption	Bereit
fOptions_Caption	Einstellungen
fOptions_lblLanguage_Caption	Sprache der Oberfläche:
fOptions_cbAutoSave_Caption	Automatisch speichern
fOptions_lblPreview_Caption	<b>Fett</b> und <i>kursiv</i>
fOptions_btnOK_Caption	OK
fOptions_btnCancel_Caption	Abbrechen
fAbout_Caption	Über Glotrix
fAbout_lblVersion_Caption	Version %s
fAbout_lblCopyright_Caption	© Glotrix-Entwickler
fAbout_btnClose_Caption	Schließen
resourcestring_65001	Datei nicht gefunden: %s
resourcestring_65002	Die Änderungen in %s speichern?
resourcestring_65003	Die Größe muss < %d MB sein
resourcestring_65004	Nichts gefunden
LANG_Welcome	Willkommen, %s!
LANG_Login	Anmelden
LANG_Logout	Abmelden
LANG_Password	Passwort
LANG_Footer	<b>Glotrix</b> – Beispielseite
EOF
expect DEU.lng UTF8 1031

# Ukrainian: written as UTF8, then converted to HTML, where every Cyrillic
# letter (and the dash) becomes a &#NNNN; reference and the copyright sign
# stays a code page 1251 byte. The translation is unfinished: four variables
# the other packs have are missing here.
"$LXPACK" new UKR.lng --encoding UTF8 --lcid 1058
fill UKR.lng <<'EOF'
fMain_Caption	Glotrix — приклад програми
fMain_miFile_Caption	&Файл
fMain_miOpen_Caption	&Відкрити...
fMain_miOpen_Hint	Відкрити файл з диска
fMain_miSave_Caption	&Зберегти
fMain_miSave_Hint	Зберегти зміни у файл
fMain_miExit_Caption	В&ихід
fMain_miExit_Hint	Закрити програму
fMain_miHelp_Caption	&Довідка
fMain_miAbout_Caption	&Про програму...
fMain_btnOK_Caption	ОК
fMain_btnCancel_Caption	Скасувати
fMain_lblStatus_Caption	Готово
fOptions_Caption	Налаштування
fOptions_lblLanguage_Caption	Мова інтерфейсу:
fOptions_lblPreview_Caption	<b>Жирний</b> і <i>курсив</i>
fOptions_btnOK_Caption	ОК
fOptions_btnCancel_Caption	Скасувати
fAbout_Caption	Про Glotrix
fAbout_lblVersion_Caption	Версія %s
fAbout_lblCopyright_Caption	© Розробники Glotrix
fAbout_btnClose_Caption	Закрити
resourcestring_65001	Файл не знайдено: %s
resourcestring_65002	Зберегти зміни у %s?
resourcestring_65003	Розмір має бути < %d МБ
LANG_Welcome	Ласкаво просимо, %s!
LANG_Login	Увійти
LANG_Logout	Вийти
LANG_Password	Пароль
EOF
"$LXPACK" encoding UKR.lng HTML
expect UKR.lng HTML 1058
if [[ "$("$LXPACK" get UKR.lng fMain_miOpen_Hint)" != "Відкрити файл з диска" ]]; then
    echo "make-samples.sh: UKR.lng does not read back after the conversion to HTML" >&2
    exit 1
fi

# Review flags of the working folder: section "lpack_" + pack name, key
# "needtochange_" + variable path. Written with CR LF as a Windows INI file.
printf '%s\r\n' \
    '[lpack_RUS]' \
    'needtochange_fMain_Caption=true' \
    'needtochange_fOptions_lblPreview_Caption=true' \
    '' \
    '[lpack_DEU]' \
    'needtochange_resourcestring_65003=true' \
    '' \
    '[lpack_UKR]' \
    'needtochange_LANG_Welcome=true' \
    'needtochange_fAbout_lblCopyright_Caption=true' \
    >package.ini

"$LXPACK" check ENU.lng RUS.lng DEU.lng UKR.lng
"$LXPACK" stats ENU.lng RUS.lng DEU.lng UKR.lng

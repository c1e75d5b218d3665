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
fMain.miGo.title	Перейти	Go
fMain.miView.title	Вид	View
fMain.miLanguage.title	Язык интерфеса	Interface Language
fMain.miNet.title	Сеть	Network
fMain.miDowloadFromServer.text	Загрузить данные с сервера	Download from Server
fMain.miUploadToServer.text	Выгрузить данные на сервер 	Upload to Server
fMain.miNetBar.text	Сеть	Network
TABLE
lxpack check RUS.lng ENU.lng

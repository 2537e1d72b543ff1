; The installer a screen-saver author would write with NSIS, doing our
; installer's job: one install-files page that starts by itself and closes
; itself, the screen saver into the Windows directory, system.ini naming it,
; screen saving on. makensis's defaults otherwise (zlib, not solid, Unicode).
;   makensis -DSCREEN_SAVER=<Quorvane.scr> -DICON=<app.ico> -DOUTPUT=<exe> quorvane.nsi
; It carries our icon, as ours does, so that both sizes hold the same icon.

Name "Quorvane"
OutFile "${OUTPUT}"
Icon "${ICON}"
InstallDir "$WINDIR"
AutoCloseWindow true
ShowInstDetails hide

Page instfiles

Section "Quorvane screen saver"
  SetOutPath "$WINDIR"
  File "${SCREEN_SAVER}"
  ; As ours: the short form of the path, which every Windows reads.
  GetFullPathName /SHORT $0 "$WINDIR\Quorvane.scr"
  WriteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE" "$0"
  ; SPI_SETSCREENSAVEACTIVE, on, SPIF_UPDATEINIFILE
  System::Call "user32::SystemParametersInfo(i 17, i 1, i 0, i 1)"
SectionEnd

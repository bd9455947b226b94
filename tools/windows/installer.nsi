; The Windows installer, built by package.sh with makensis:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DSTAGE=<folder> -DFILES=<files.nsh> -DOUTFILE=<setup.exe> installer.nsi
; STAGE holds the installed tree (cmake --install); FILES, written from it,
; installs each file and lets the uninstaller remove each again, so that a
; folder the user chose keeps whatever else it holds.
;
; For the user who runs it, without administrator rights: into
; %LOCALAPPDATA%\Programs\Zelbun Kreator, a Start menu entry, an entry in
; the list of installed programs, and on request .atr files opening in the
; editor (the component, or /ASSOCIATE on a silent run: setup.exe /S
; /ASSOCIATE). Nothing of the Linux desktop's (menu files, MIME types,
; manual pages, icon caches) has a place here.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define NAME "Zelbun Kreator"
!define PROGRAM "zelbun-kreator.exe"
!define PROGID "ZelbunKreator.atr"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZelbunKreator"
!define CLASSES "Software\Classes"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${NAME}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${NAME} ${VERSION}, instalator"
VIAddVersionKey /LANG=0 "CompanyName" "Tavrin"
VIAddVersionKey /LANG=0 "LegalCopyright" "Tavrin, licencja zlib"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Section "Program" SectionProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tavrin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The user's own file type: .atr names it, and it opens in the editor.
; Another program's claim on .atr stays in the list of programs offered.
Section /o "Otwieraj pliki .atr w edytorze" SectionAssociate
  WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Obraz dyskietki Atari (Zelbun)"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
  WriteRegStr HKCU "${CLASSES}\.atr" "" "${PROGID}"
  WriteRegStr HKCU "${CLASSES}\.atr\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Associated" "1"
  ; Explorer rereads the file types.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Function .onInit
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ASSOCIATE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionAssociate}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  !include "${FILES}.uninstall"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAME}.lnk"

  ; Only what is ours: .atr keeps another program's claim.
  DeleteRegKey HKCU "${CLASSES}\${PROGID}"
  DeleteRegValue HKCU "${CLASSES}\.atr\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.atr\OpenWithProgids"
  ReadRegStr $0 HKCU "${CLASSES}\.atr" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue HKCU "${CLASSES}\.atr" ""
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${CLASSES}\.atr"
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "Associated"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $0 == "1"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  ${EndIf}
SectionEnd

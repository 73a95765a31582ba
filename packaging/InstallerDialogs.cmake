# Included by MakeInstaller.cmake: the package's own dialogs, which wixl cannot write. A full
# installation (msiexec /i, or a double-click) first shows the licence, LICENSE.txt turned into
# RTF here so the text has one source, with a check box that alone enables "Kur"; then a
# progress bar and a closing word. Basic and silent installations (/qb, /qn) show none of them,
# and a package already installed (a removal, a repair) skips the licence.
# Expects: work (the folder holding package.msi), SOURCE, MSIBUILD, MSIINFO.

# The licence as RTF: wrapped lines joined so the control wraps them, blank lines kept as
# paragraph breaks.
file(READ ${SOURCE}/LICENSE.txt licence)
if(licence MATCHES "[^\t\r\n -~]")
  message(FATAL_ERROR "LICENSE.txt holds characters other than ASCII, which its RTF here does not escape")
endif()
string(REPLACE "\r" "" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\\" "\\\\" licence "${licence}")
string(REPLACE "{" "\\{" licence "${licence}")
string(REPLACE "}" "\\}" licence "${licence}")
string(REGEX REPLACE "\n\n+" "<paragraph>" licence "${licence}")
string(REPLACE "\n" " " licence "${licence}")
string(REPLACE "<paragraph>" "\\par\\par " licence "${licence}")
set(licence_rtf "{\\rtf1\\ansi\\ansicpg1254\\deff0{\\fonttbl{\\f0\\fswiss Tahoma;}}\\f0\\fs16 ${licence}\\par}")

set(title "[ProductName] Kurulumu")
set(heading "{\\HeadingFont}")
set(removing "REMOVE~=\"ALL\"")
# Control attributes: visible 1, enabled 2, sunken 4; a progress bar drawn smoothly 65536.
set(shown 3)

file(WRITE ${work}/TextStyle.idt
  "TextStyle\tFaceName\tSize\tColor\tStyleBits\ns72\ts32\ti2\tI4\tI2\nTextStyle\tTextStyle\n"
  "DialogFont\tTahoma\t8\t\t\nHeadingFont\tTahoma\t10\t\t1\n")
file(WRITE ${work}/CheckBox.idt "Property\tValue\ns72\tS64\nCheckBox\tProperty\nLicenceAccepted\t1\n")

# Dialog attributes: visible 1, modal 2, may be minimised 4.
set(dialogs "Dialog\tHCentering\tVCentering\tWidth\tHeight\tAttributes\tTitle\tControl_First\tControl_Default\tControl_Cancel
s72\ti2\ti2\ti2\ti2\tI4\tL128\ts50\tS50\tS50
Dialog\tDialog
LicenceDialog\t50\t50\t330\t250\t7\t${title}\tLicenceText\tInstall\tCancel
ProgressDialog\t50\t50\t300\t90\t5\t${title}\tProgress\t\t
FinishedDialog\t50\t50\t300\t110\t7\t${title}\tClose\tClose\tClose
CancelledDialog\t50\t50\t300\t110\t7\t${title}\tClose\tClose\tClose
FailedDialog\t50\t50\t300\t110\t7\t${title}\tClose\tClose\tClose
")
set(controls "Dialog_\tControl\tType\tX\tY\tWidth\tHeight\tAttributes\tProperty\tText\tControl_Next\tHelp
s72\ts50\ts20\ti2\ti2\ti2\ti2\tI4\tS72\tL0\tS50\tL50
Control\tDialog_\tControl
LicenceDialog\tHeading\tText\t15\t10\t300\t15\t${shown}\t\t${heading}Lisans sözleşmesi\t\t
LicenceDialog\tIntroduction\tText\t15\t28\t300\t12\t${shown}\t\tKurmadan önce lütfen lisans sözleşmesini okuyun.\t\t
LicenceDialog\tLicenceText\tScrollableText\t15\t44\t300\t140\t7\t\t${licence_rtf}\tAccept\t
LicenceDialog\tAccept\tCheckBox\t15\t190\t300\t14\t${shown}\tLicenceAccepted\tLisans koşullarını kabul ediyorum\tInstall\t
LicenceDialog\tRule\tLine\t0\t210\t330\t0\t1\t\t\t\t
LicenceDialog\tInstall\tPushButton\t194\t222\t56\t17\t${shown}\t\tKur\tCancel\t
LicenceDialog\tCancel\tPushButton\t259\t222\t56\t17\t${shown}\t\tİptal\tLicenceText\t
ProgressDialog\tInstalling\tText\t15\t10\t270\t15\t${shown}\t\t${heading}[ProductName] kuruluyor\t\t
ProgressDialog\tRemoving\tText\t15\t10\t270\t15\t${shown}\t\t${heading}[ProductName] kaldırılıyor\t\t
ProgressDialog\tWait\tText\t15\t30\t270\t12\t${shown}\t\tLütfen bekleyin.\t\t
ProgressDialog\tProgress\tProgressBar\t15\t50\t270\t12\t65537\t\t\t\t
FinishedDialog\tInstalled\tText\t15\t10\t270\t15\t${shown}\t\t${heading}Kurulum tamamlandı\t\t
FinishedDialog\tRemoved\tText\t15\t10\t270\t15\t${shown}\t\t${heading}Kaldırma tamamlandı\t\t
FinishedDialog\tInstalledText\tText\t15\t32\t270\t30\t${shown}\t\t[ProductName] bilgisayarınıza kuruldu.\t\t
FinishedDialog\tRemovedText\tText\t15\t32\t270\t30\t${shown}\t\t[ProductName] bilgisayarınızdan kaldırıldı.\t\t
CancelledDialog\tHeading\tText\t15\t10\t270\t15\t${shown}\t\t${heading}İşlem iptal edildi\t\t
CancelledDialog\tBody\tText\t15\t32\t270\t30\t${shown}\t\tBilgisayarınızda hiçbir değişiklik yapılmadı.\t\t
FailedDialog\tHeading\tText\t15\t10\t270\t15\t${shown}\t\t${heading}İşlem tamamlanamadı\t\t
FailedDialog\tBody\tText\t15\t32\t270\t30\t${shown}\t\tBir hata oluştu; bilgisayarınızda hiçbir değişiklik yapılmadı.\t\t
")
foreach(dialog FinishedDialog CancelledDialog FailedDialog)
  string(APPEND controls "${dialog}\tRule\tLine\t0\t70\t300\t0\t1\t\t\t\t\n"
                         "${dialog}\tClose\tPushButton\t229\t82\t56\t17\t${shown}\t\tKapat\t\t\n")
endforeach()
file(WRITE ${work}/Dialog.idt "${dialogs}")
file(WRITE ${work}/Control.idt "${controls}")

# "Kur" works only once the licence is accepted; the texts of an installation and of a removal
# each show in their own run.
file(WRITE ${work}/ControlCondition.idt "Dialog_\tControl_\tAction\tCondition
s72\ts50\ts50\ts255
ControlCondition\tDialog_\tControl_\tAction\tCondition
LicenceDialog\tInstall\tDisable\tNOT LicenceAccepted
LicenceDialog\tInstall\tEnable\tLicenceAccepted
ProgressDialog\tInstalling\tHide\t${removing}
ProgressDialog\tRemoving\tHide\tNOT ${removing}
FinishedDialog\tInstalled\tHide\t${removing}
FinishedDialog\tInstalledText\tHide\t${removing}
FinishedDialog\tRemoved\tHide\tNOT ${removing}
FinishedDialog\tRemovedText\tHide\tNOT ${removing}
")
set(events "Dialog_\tControl_\tEvent\tArgument\tCondition\tOrdering
s72\ts50\ts50\ts255\tS255\tI2
ControlEvent\tDialog_\tControl_\tEvent\tArgument\tCondition
LicenceDialog\tInstall\tEndDialog\tReturn\tLicenceAccepted\t1
LicenceDialog\tCancel\tEndDialog\tExit\t1\t1
")
foreach(dialog FinishedDialog CancelledDialog FailedDialog)
  string(APPEND events "${dialog}\tClose\tEndDialog\tReturn\t1\t1\n")
endforeach()
file(WRITE ${work}/ControlEvent.idt "${events}")
file(WRITE ${work}/EventMapping.idt "Dialog_\tControl_\tEvent\tAttribute
s72\ts50\ts50\ts50
EventMapping\tDialog_\tControl_\tEvent
ProgressDialog\tProgress\tSetProgress\tProgress
")

execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -i ${work}/TextStyle.idt ${work}/CheckBox.idt
                        ${work}/Dialog.idt ${work}/Control.idt ${work}/ControlCondition.idt
                        ${work}/ControlEvent.idt ${work}/EventMapping.idt
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msibuild failed: dialogs")
endif()

# The user interface's sequence: the searches before the launch condition, as in the
# installation's own, so a refusal comes before the licence; the licence only for a package
# not yet installed; the closing dialogs in the slots of success (-1), the user's cancel (-2)
# and a failure (-3).
execute_process(COMMAND ${MSIINFO} export ${work}/package.msi InstallUISequence OUTPUT_VARIABLE sequence)
string(APPEND sequence "AppSearch\t\t50\nLicenceDialog\tNOT Installed\t1250\nProgressDialog\t\t1280\n"
                       "FinishedDialog\t\t-1\nCancelledDialog\t\t-2\nFailedDialog\t\t-3\n")
file(WRITE ${work}/InstallUISequence.idt "${sequence}")
execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -i ${work}/InstallUISequence.idt RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msibuild failed: the user interface's sequence")
endif()
# msibuild answers an insertion with its usage even when it inserted the row: the tables say.
execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -q
                        "INSERT INTO Property (Property, Value) VALUES ('DefaultUIFont', 'DialogFont')"
                OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${MSIINFO} export ${work}/package.msi Property OUTPUT_VARIABLE properties)
execute_process(COMMAND ${MSIINFO} export ${work}/package.msi InstallUISequence OUTPUT_VARIABLE sequence)
if(NOT properties MATCHES "\nDefaultUIFont\tDialogFont" OR NOT sequence MATCHES "\nLicenceDialog\tNOT Installed\t1250")
  message(FATAL_ERROR "msibuild did not add the dialogs to the user interface's sequence")
endif()

# Script (cmake -P) run by the msi target: compiles CallerIdMonitor.wxs with wixl, then adds
# what wixl cannot express: the searches that find the device control's registered server and
# the stored machine-wide source and relay service, the feature conditions that the public
# properties STARTUP, RELAY, ASDEVICE and SOURCE switch on (the last two only by their
# property, never by ADDLOCAL=ALL, and kept by an upgrade), the launch condition that refuses
# ASDEVICE=1 while another file holds the device control's class, and the Turkish name of the
# settings window's shortcut; InstallerDialogs.cmake adds the dialogs.
set(wxs ${CMAKE_CURRENT_LIST_DIR}/CallerIdMonitor.wxs)
set(work ${OUTPUT}.work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})

# wixl takes file names relative to the source it compiles, so that source sits among links.
file(COPY_FILE ${wxs} ${work}/CallerIdMonitor.wxs)
file(CREATE_LINK ${BIN} ${work}/bin SYMBOLIC)
file(CREATE_LINK ${BIN32} ${work}/bin32 SYMBOLIC)
file(CREATE_LINK ${REGISTRY} ${work}/registry SYMBOLIC)
file(CREATE_LINK ${SOURCE} ${work}/source SYMBOLIC)
execute_process(
  COMMAND ${WIXL} -a ${ARCH} -D Width=${WIDTH} -D Version=${VERSION} -o package.msi CallerIdMonitor.wxs
  WORKING_DIRECTORY ${work}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "wixl failed")
endif()

# msidbLocatorTypeRawValue, in the 64-bit view for the 64-bit package.
if(WIDTH EQUAL 64)
  set(raw 18)
else()
  set(raw 2)
endif()
set(device_class "CLSID\\{EEA18052-171F-4293-8598-AB6E1D7257B2}\\InprocServer32")
set(fresh "NOT Installed AND NOT WIX_UPGRADE_DETECTED")
set(taken "DEVICE_CLASS_SERVER AND ${fresh}")
# The simulated device's files and registration (conditions hold at most 255 characters).
set(maintained "(Installed OR WIX_UPGRADE_DETECTED)")
set(simulated "DEVICE_CLASS_SERVER >< \"devsim.dll\"")
set(simulated_files "${maintained} OR NOT ASDEVICE=\"1\" AND NOT DEVICE_CLASS_SERVER")
set(simulated_registration "NOT ASDEVICE=\"1\" AND (NOT DEVICE_CLASS_SERVER OR ${maintained} AND ${simulated}) OR \
REMOVE~=\"ALL\" AND (NOT DEVICE_CLASS_SERVER OR ${simulated} OR DEVICE_CLASS_SERVER >< \"opencid.dll\")")
foreach(condition simulated_files simulated_registration)
  string(LENGTH "${${condition}}" length)
  if(length GREATER 255)
    message(FATAL_ERROR "${condition} is ${length} characters long, more than a condition holds")
  endif()
endforeach()
file(WRITE ${work}/RegLocator.idt
  "Signature_\tRoot\tKey\tName\tType\ns72\ti2\ts255\tS255\tI2\nRegLocator\tSignature_\n"
  "DeviceClassServer\t0\t${device_class}\t\t${raw}\n"
  "StoredSource\t2\tSoftware\\OpenCallerId\tSource\t${raw}\n"
  "StoredStartup\t2\tSoftware\\Microsoft\\Windows\\CurrentVersion\\Run\tCallerIdMonitor\t${raw}\n"
  "StoredRelay\t2\tSYSTEM\\CurrentControlSet\\Services\\CidRelay\tImagePath\t${raw}\n")
file(WRITE ${work}/AppSearch.idt
  "Property\tSignature_\ns72\ts72\nAppSearch\tProperty\tSignature_\n"
  "DEVICE_CLASS_SERVER\tDeviceClassServer\nSTORED_SOURCE\tStoredSource\nSTORED_STARTUP\tStoredStartup\n"
  "STORED_RELAY\tStoredRelay\n")
file(WRITE ${work}/Condition.idt
  "Feature_\tLevel\tCondition\ns38\ti2\tS255\nCondition\tFeature_\tLevel\n"
  "StartWithWindowsFeature\t1\tSTARTUP=\"1\"\n"
  "RelayFeature\t1\tRELAY=\"1\"\n"
  "MachineSourceFeature\t1\tSOURCE\n"
  "MachineSourceFeature\t0\tNOT SOURCE\n"
  "AsDeviceFeature\t1\tASDEVICE=\"1\"\n"
  "AsDeviceFeature\t0\tNOT ASDEVICE=\"1\" AND ${fresh}\n"
  "SimulatedDeviceFeature\t0\tASDEVICE=\"1\" OR (${taken})\n")
file(WRITE ${work}/LaunchCondition.idt
  "Condition\tDescription\ns255\tl255\nLaunchCondition\tCondition\n"
  "NOT (ASDEVICE=\"1\" AND ${taken})\tThe device control's class is registered to [DEVICE_CLASS_SERVER]; (its Turkish text follows the code page)\n")
execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -i ${work}/RegLocator.idt ${work}/AppSearch.idt
                        ${work}/Condition.idt ${work}/LaunchCondition.idt
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msibuild failed")
endif()
# Texts in Turkish: the database's code page holds them; wixl itself stops at such a name.
file(WRITE ${work}/_ForceCodepage.idt "\n\n1254\t_ForceCodepage\n")
execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -i ${work}/_ForceCodepage.idt RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "msibuild failed: code page")
endif()
# The public properties reach the installation with elevation; a feature chosen is installed
# on the machine, never advertised; the searches run first.
foreach(query
    "UPDATE Property SET Value='WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;SOURCE;ASDEVICE;STARTUP;RELAY;DEVICE_CLASS_SERVER;STORED_SOURCE;STORED_STARTUP;STORED_RELAY' WHERE Property='SecureCustomProperties'"
    "UPDATE Feature SET Attributes=8"
    # Wine weighs the feature conditions only when no ADDLOCAL is given, so what must never be
    # written without its property, or over another file's registration, is held back by its
    # components' own conditions as well; at removal they spare a class another file has taken.
    "UPDATE Component SET Condition='${simulated_files}' WHERE Component='SimulatedDevice'"
    "UPDATE Component SET Condition='${simulated_registration}' WHERE Component='SimulatedDeviceRegistration'"
    "UPDATE Component SET Condition='ASDEVICE=\"1\"' WHERE Component='OpenSourcesAsDevice' OR Component='OpenSourcesAsDevice32'"
    "UPDATE Component SET Condition='SOURCE' WHERE Component='MachineSource'"
    "UPDATE Shortcut SET Name='Arayan numara kaynağı' WHERE Shortcut='SourceSettingsShortcut'"
    "UPDATE LaunchCondition SET Description='Cihaz denetiminin sınıfı başka bir dosyaya kayıtlı: [DEVICE_CLASS_SERVER]. ASDEVICE=1 bu kaydı yerinde bırakır; hiçbir şey kurulmadı.'")
  execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -q "${query}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "msibuild failed: ${query}")
  endif()
endforeach()
# msibuild answers an insertion with its usage and a failure status even when it inserted the
# row: the table itself says whether it did.
execute_process(COMMAND ${MSIBUILD} ${work}/package.msi -q
                        "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('AppSearch', 50)"
                OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${MSIINFO} export ${work}/package.msi InstallExecuteSequence OUTPUT_VARIABLE sequence)
if(NOT sequence MATCHES "\nAppSearch\t\t50")
  message(FATAL_ERROR "msibuild did not add AppSearch to the installation sequence")
endif()
# The dialogs of a full installation: the licence to accept, progress, the closing word.
include(${CMAKE_CURRENT_LIST_DIR}/InstallerDialogs.cmake)

file(RENAME ${work}/package.msi ${OUTPUT})
file(REMOVE_RECURSE ${work})

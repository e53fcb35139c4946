# The LibreOffice SDK: C++ headers generated from the installed type libraries, and
# the UNO runtime libraries. Only the source files handed to pelmora_use_uno() see
# UNO; everything else in the project compiles without it.

set(LIBREOFFICE_PROGRAM_DIR /usr/lib/libreoffice/program
    CACHE PATH "LibreOffice's program folder (soffice.bin, types.rdb, fundamentalrc)")
set(LIBREOFFICE_SDK_DIR /usr/lib/libreoffice/sdk
    CACHE PATH "LibreOffice's SDK folder (cppumaker, include, lib)")

find_program(LIBREOFFICE_CPPUMAKER cppumaker HINTS ${LIBREOFFICE_SDK_DIR}/bin NO_DEFAULT_PATH)
find_path(LIBREOFFICE_SDK_INCLUDE_DIR sal/config.h
    HINTS ${LIBREOFFICE_SDK_DIR}/include /usr/include/libreoffice)
set(LIBREOFFICE_TYPE_LIBRARIES
    ${LIBREOFFICE_PROGRAM_DIR}/types.rdb
    ${LIBREOFFICE_PROGRAM_DIR}/types/offapi.rdb)
foreach(rdb ${LIBREOFFICE_TYPE_LIBRARIES})
    if(NOT EXISTS ${rdb})
        message(FATAL_ERROR "LibreOffice type library ${rdb} is missing (install libreoffice-writer-nogui)")
    endif()
endforeach()
if(NOT LIBREOFFICE_CPPUMAKER OR NOT LIBREOFFICE_SDK_INCLUDE_DIR)
    message(FATAL_ERROR "LibreOffice SDK not found in ${LIBREOFFICE_SDK_DIR} (install libreoffice-dev)")
endif()

set(LIBREOFFICE_UNO_LIBRARIES)
foreach(lib uno_cppu uno_cppuhelpergcc3 uno_sal uno_salhelpergcc3)
    find_library(LIBREOFFICE_LIB_${lib} ${lib} HINTS ${LIBREOFFICE_SDK_DIR}/lib)
    if(NOT LIBREOFFICE_LIB_${lib})
        message(FATAL_ERROR "LibreOffice SDK library ${lib} not found")
    endif()
    list(APPEND LIBREOFFICE_UNO_LIBRARIES ${LIBREOFFICE_LIB_${lib}})
endforeach()

# The types the converter uses; cppumaker adds everything they depend on. Generating
# only these takes a few milliseconds (about 150 headers) where all types take most
# of a second and 26 MB; a type missing here shows as a missing .hpp at compile time.
set(PELMORA_UNO_TYPES
    com.sun.star.awt.Rectangle
    com.sun.star.awt.Toolkit
    com.sun.star.awt.WindowClass
    com.sun.star.awt.WindowDescriptor
    com.sun.star.awt.XCallback
    com.sun.star.awt.XRequestCallback
    com.sun.star.awt.XToolkit2
    com.sun.star.awt.XWindow
    com.sun.star.beans.PropertyValue
    com.sun.star.beans.XPropertySet
    com.sun.star.bridge.BridgeFactory
    com.sun.star.bridge.XBridge
    com.sun.star.connection.Connector
    com.sun.star.connection.NoConnectException
    com.sun.star.container.XEnumeration
    com.sun.star.container.XEnumerationAccess
    com.sun.star.container.XIndexAccess
    com.sun.star.container.XNameAccess
    com.sun.star.document.MacroExecMode
    com.sun.star.document.UpdateDocMode
    com.sun.star.document.XTypeDetection
    com.sun.star.drawing.XDrawPageSupplier
    com.sun.star.frame.Desktop
    com.sun.star.frame.Frame
    com.sun.star.frame.XController2
    com.sun.star.frame.XDesktop2
    com.sun.star.frame.XFrame2
    com.sun.star.frame.XLoadable
    com.sun.star.frame.XModel2
    com.sun.star.frame.XStorable
    com.sun.star.lang.DisposedException
    com.sun.star.lang.XComponent
    com.sun.star.lang.XServiceInfo
    com.sun.star.lang.XTypeProvider
    com.sun.star.task.ErrorCodeRequest
    com.sun.star.task.PasswordRequest
    com.sun.star.task.XInteractionAbort
    com.sun.star.task.XInteractionApprove
    com.sun.star.task.XInteractionHandler
    com.sun.star.task.XInteractionRequest
    com.sun.star.text.RelOrientation
    com.sun.star.text.TextContentAnchorType
    com.sun.star.text.XTextFieldsSupplier
    com.sun.star.uno.DeploymentException
    com.sun.star.uno.XAggregation
    com.sun.star.uno.XComponentContext
    com.sun.star.uno.XWeak
    com.sun.star.util.CloseVetoException
    com.sun.star.util.XCloseable
    com.sun.star.util.XModifiable
    com.sun.star.util.XRefreshable
    com.sun.star.view.XRenderable)
list(JOIN PELMORA_UNO_TYPES ";" _uno_type_list)

set(PELMORA_UNO_HEADER_DIR ${CMAKE_BINARY_DIR}/uno-headers)
set(_uno_stamp ${PELMORA_UNO_HEADER_DIR}/generated.stamp)
add_custom_command(
    OUTPUT ${_uno_stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PELMORA_UNO_HEADER_DIR}
    COMMAND ${LIBREOFFICE_CPPUMAKER} -O${PELMORA_UNO_HEADER_DIR} "-T${_uno_type_list}"
            ${LIBREOFFICE_TYPE_LIBRARIES}
    COMMAND ${CMAKE_COMMAND} -E touch ${_uno_stamp}
    DEPENDS ${LIBREOFFICE_TYPE_LIBRARIES} ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Generating LibreOffice UNO C++ headers"
    VERBATIM)
add_custom_target(pelmora_uno_headers DEPENDS ${_uno_stamp})

# pelmora_use_uno(<target> <sources...>): the given sources of target compile
# against UNO, and target links the UNO runtime.
function(pelmora_use_uno target)
    set_source_files_properties(${ARGN} TARGET_DIRECTORY ${target} PROPERTIES
        COMPILE_DEFINITIONS "LINUX;UNX;CPPU_ENV=gcc3;PELMORA_LIBREOFFICE_PROGRAM_DIR=\"${LIBREOFFICE_PROGRAM_DIR}\""
        COMPILE_OPTIONS "-isystem;${LIBREOFFICE_SDK_INCLUDE_DIR};-isystem;${PELMORA_UNO_HEADER_DIR}"
        OBJECT_DEPENDS ${_uno_stamp})
    add_dependencies(${target} pelmora_uno_headers)
    # The UNO libraries need helpers that live only in the program folder, which
    # the loader searches only through an old-style RPATH: a RUNPATH would not
    # reach the libraries' own dependencies.
    target_link_libraries(${target} PRIVATE ${LIBREOFFICE_UNO_LIBRARIES})
    target_link_options(${target} INTERFACE
        "LINKER:-rpath-link,${LIBREOFFICE_PROGRAM_DIR}"
        "LINKER:--disable-new-dtags"
        "LINKER:-rpath,${LIBREOFFICE_PROGRAM_DIR}")
endfunction()

# Installs the build into a scratch DESTDIR and checks what arrived (see tests/CMakeLists.txt).
file(REMOVE_RECURSE ${WORK_DIR})
set(ENV{DESTDIR} ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} RESULT_VARIABLE status
                OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(id org.feteplan.Feteplan)
set(expected ${BINDIR}/zel ${BINDIR}/zelplan ${BINDIR}/zelcat ${BINDIR}/zeldesk
  ${PKGLIBDIR}/libhivelet.so.1 ${PKGLIBDIR}/libhivelet.so.1.0.0.2
  ${DATADIR}/applications/${id}.desktop ${DATADIR}/applications/org.feteplan.FeteplanDesk.desktop
  ${DATADIR}/metainfo/${id}.metainfo.xml
  ${DATADIR}/icons/hicolor/scalable/apps/${id}.svg
  ${MANDIR}/man1/zel.1.gz ${MANDIR}/man1/zelplan.1.gz ${MANDIR}/man1/zelcat.1.gz
  ${MANDIR}/man1/zeldesk.1.gz)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected ${DATADIR}/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
foreach(file songlist.mdb hi.rtf bye.rtf song.rtf logo.jpg dress1.jpg dress2.jpg dress3.jpg
             cd.bmp nocd.bmp)
  list(APPEND expected ${MEDIUMDIR}/${file})
endforeach()

# Everything lands under the prefix, and nothing else does.
set(root ${WORK_DIR}${PREFIX})
file(GLOB_RECURSE everything LIST_DIRECTORIES false RELATIVE ${WORK_DIR} ${WORK_DIR}/*)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(LENGTH everything all_count)
list(LENGTH installed prefix_count)
if(NOT all_count EQUAL prefix_count)
  message(FATAL_ERROR "files outside ${PREFIX}: ${everything}")
endif()
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
  set(extra ${installed})
  list(REMOVE_ITEM extra ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${installed})
  message(FATAL_ERROR "installed tree differs\n  missing: ${missing}\n  unexpected: ${extra}")
endif()

foreach(program zel zelplan zelcat zeldesk)
  execute_process(COMMAND ${root}/${BINDIR}/${program} --version RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}")
    message(FATAL_ERROR "${program} --version: status ${status}, \"${out}\" ${err}")
  endif()
  execute_process(COMMAND ${root}/${BINDIR}/${program} --help RESULT_VARIABLE status
                  OUTPUT_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out MATCHES "--version")
    message(FATAL_ERROR "${program} --help: status ${status}, \"${out}\"")
  endif()
endforeach()

foreach(check "desktop-file-validate;${root}/${DATADIR}/applications/${id}.desktop"
              "desktop-file-validate;${root}/${DATADIR}/applications/org.feteplan.FeteplanDesk.desktop"
              "appstreamcli;validate;--no-net;${root}/${DATADIR}/metainfo/${id}.metainfo.xml")
  execute_process(COMMAND ${check} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${check}: status ${status}\n${out}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})

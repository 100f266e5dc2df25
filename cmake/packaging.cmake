# Pecunette — apprendre à remplir un chèque.
# What goes beside the program and into an installation: the sound cues, the
# desktop entry, the AppStream description and the icons.
include(GNUInstallDirs)

set(PECUNETTE_APP_ID org.example.Pecunette)

# --- Sound cues --------------------------------------------------------------

set(PECUNETTE_SOUNDS
  ${PROJECT_SOURCE_DIR}/assets/sons/son2.wav
  ${PROJECT_SOURCE_DIR}/assets/sons/incorrect.mp3
  ${PROJECT_SOURCE_DIR}/assets/sons/bravo.mp3
  ${PROJECT_SOURCE_DIR}/assets/sons/cgagne.mp3)

# The program run from its build folder finds its cues beside it.
get_target_property(program_dir pecunette RUNTIME_OUTPUT_DIRECTORY)
if(NOT program_dir)
  get_target_property(program_dir pecunette BINARY_DIR)
endif()
set(copied_sounds)
foreach(sound IN LISTS PECUNETTE_SOUNDS)
  get_filename_component(name ${sound} NAME)
  add_custom_command(OUTPUT ${program_dir}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sound} ${program_dir}/${name}
    DEPENDS ${sound} VERBATIM)
  list(APPEND copied_sounds ${program_dir}/${name})
endforeach()
add_custom_target(pecunette_sounds ALL DEPENDS ${copied_sounds})
add_dependencies(pecunette pecunette_sounds)

# Installed, the program looks for them in ../share/pecunette/sons from its folder.
install(FILES ${PECUNETTE_SOUNDS} DESTINATION ${CMAKE_INSTALL_DATADIR}/pecunette/sons)

# --- Desktop entry, AppStream description, icons ----------------------------

set(desktop_entry ${PROJECT_SOURCE_DIR}/data/${PECUNETTE_APP_ID}.desktop)
set(metainfo ${CMAKE_CURRENT_BINARY_DIR}/data/${PECUNETTE_APP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/${PECUNETTE_APP_ID}.metainfo.xml ${metainfo} @ONLY)
install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The fixed-size icons are drawn from the scalable one by a small Qt tool, so
# they always match it and no extra package is needed to make them.
add_executable(pecunette_svg2png ${PROJECT_SOURCE_DIR}/tools/svg2png.cpp)
target_link_libraries(pecunette_svg2png PRIVATE Qt6::Gui Qt6::Svg)
set(icon_svg ${PROJECT_SOURCE_DIR}/assets/icon.svg)
set(icon_root ${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor)
set(rendered_icons)
foreach(size 16 32 48 64 128 256)
  set(png ${icon_root}/${size}x${size}/apps/${PECUNETTE_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_root}/${size}x${size}/apps
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:pecunette_svg2png> ${icon_svg} ${png} ${size}
    DEPENDS pecunette_svg2png ${icon_svg} VERBATIM)
  list(APPEND rendered_icons ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(pecunette_icons ALL DEPENDS ${rendered_icons})
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${PECUNETTE_APP_ID}.svg)

# --- Manual page, changelog, licence ------------------------------------------

# Compressed as Debian wants them: best compression, no name or time stamp inside.
set(doc_root ${CMAKE_CURRENT_BINARY_DIR}/data)
set(compressed_docs)
foreach(source pecunette.1 changelog)
  add_custom_command(OUTPUT ${doc_root}/${source}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${doc_root}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${PROJECT_SOURCE_DIR}/data/${source} ${doc_root}/${source}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${source} VERBATIM)
  list(APPEND compressed_docs ${doc_root}/${source}.gz)
endforeach()
add_custom_target(pecunette_docs ALL DEPENDS ${compressed_docs})
install(FILES ${doc_root}/pecunette.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${doc_root}/changelog.gz ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pecunette)

# What is shipped is checked in the build that ships, not in the sanitized ones.
if(PECUNETTE_SANITIZE OR PECUNETTE_FUZZ)
  set(check_shipping OFF)
else()
  set(check_shipping ON)
endif()

# The desktop files are checked by the tools the desktops themselves trust.
if(check_shipping)
  add_test(NAME desktop_entry_valid COMMAND desktop-file-validate ${desktop_entry})
  add_test(NAME metainfo_valid COMMAND appstreamcli validate --no-net ${metainfo})
endif()

# --- Debian package: cpack -G DEB from the build folder ---------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pecunette)
set(CPACK_PACKAGE_VENDOR "Ecole de Quelbrac")
set(CPACK_PACKAGE_CONTACT "Ecole de Quelbrac <quelbrac@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "apprendre à remplir un chèque")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Pecunette apprend aux élèves de l'école primaire (7 à 11 ans) à remplir"
  "un chèque, et surtout à en écrire le montant en lettres, en faisant glisser"
  "des blocs de mots sur le chèque. Chaque mot est jugé aussitôt, un indice"
  "vient après un temps d'attente, une note sur 20 conclut chaque série et"
  "l'enseignant lit tout dans l'historique de la progression.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quelbrac.example.org/pecunette/")
# The libraries come from dpkg-shlibdeps; what is loaded at run time is named here:
# the sound players (pulse, mpg123, wavparse), the fonts of the pictures and
# labels, and the French of Qt's own dialog buttons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-good, fonts-liberation2, qt6-translations-l10n")
include(CPack)

# Builds the package, unpacks it anywhere and runs what it unpacked.
if(check_shipping)
  add_test(NAME debian_package
    COMMAND ${PROJECT_SOURCE_DIR}/tests/package/check_deb.sh ${CMAKE_BINARY_DIR} ${PECUNETTE_APP_ID})
  set_tests_properties(debian_package PROPERTIES TIMEOUT 600 ENVIRONMENT "LC_ALL=C.UTF-8")
endif()

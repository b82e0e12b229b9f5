# Install rules and the CPack settings of the Debian package harbor_<version>_<arch>.deb.
# The icons and the compressed changelog are made by the target harbor_package_files, which
# scripts/package.sh builds before cpack (the everyday build does not need them).
include(GNUInstallDirs)
# cpack installs what package.sh built; it does not first build every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(HARBOR_APP_ID cn.yuanhang.Harbor)
set(HARBOR_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(HARBOR_ICON_SIZES 16 24 32 48 64 128 256)

set(package_files)
foreach(size ${HARBOR_ICON_SIZES})
  set(icon ${HARBOR_PACKAGE_DIR}/icons/${size}/${HARBOR_APP_ID}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HARBOR_PACKAGE_DIR}/icons/${size}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:Harbor>
            --write-icon ${size} ${icon}
    DEPENDS Harbor
    COMMENT "Icon ${size}x${size}")
  list(APPEND package_files ${icon})
  install(FILES ${icon}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# Debian keeps a native package's changelog and the manual page compressed, without a timestamp
# in the gzip header.
foreach(file changelog Harbor.1)
  add_custom_command(
    OUTPUT ${HARBOR_PACKAGE_DIR}/${file}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HARBOR_PACKAGE_DIR}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${file} > ${HARBOR_PACKAGE_DIR}/${file}.gz
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${file}
    COMMENT "${file}.gz")
  list(APPEND package_files ${HARBOR_PACKAGE_DIR}/${file}.gz)
endforeach()
add_custom_target(harbor_package_files DEPENDS ${package_files})

install(TARGETS Harbor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${HARBOR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${HARBOR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${HARBOR_PACKAGE_DIR}/Harbor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md packaging/copyright ${HARBOR_PACKAGE_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/harbor)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME harbor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Harbor")
set(CPACK_PACKAGE_CONTACT "Harbor maintainers <harbor@yuanhang.cn>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sales management for a hardware shop")
# The synopsis is the summary above; these are the lines under it (cpack indents them).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "远航五交化销售管理系统.
A desktop program for a hardware and electrical-goods shop: a product
catalogue whose codes are the barcodes, sales-out, sales-return and
stock-in documents that move stock, document queries, printed lists,
receipts and barcode labels, customers, suppliers and employees.
Several shop computers can share one database on a PostgreSQL server.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binary does not link but loads: the database drivers, the ODBC driver of the label
# program and the Chinese fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql, libsqliteodbc, fonts-wqy-microhei | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-ukai, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

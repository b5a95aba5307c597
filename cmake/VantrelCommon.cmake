# One interface target carries the language level, warnings and Qt defines for every target.
add_library(vantrel_common INTERFACE)
target_compile_features(vantrel_common INTERFACE cxx_std_20)
target_compile_options(vantrel_common INTERFACE -Wall -Wextra)
target_compile_definitions(vantrel_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_DISABLE_DEPRECATED_UP_TO=0x060000
)

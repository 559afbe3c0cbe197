# The translations: every message of every language finished and true to
# its placeholders, and every language's layout checked in the program.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
nivra_sim_card(cardgen_demo demo)
get_property(nivra_ts_files GLOBAL PROPERTY NIVRA_TS_FILES)
get_property(nivra_lupdate_dirs GLOBAL PROPERTY NIVRA_LUPDATE_DIRS)
set(nivra_lupdate_check)
if(NIVRA_LUPDATE)
  list(JOIN nivra_lupdate_dirs "," dirs)
  set(nivra_lupdate_check --lupdate ${NIVRA_LUPDATE} --root ${PROJECT_SOURCE_DIR} --dirs ${dirs})
endif()
add_test(NAME translations_complete
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/check_translations.py
                 ${nivra_lupdate_check} ${nivra_ts_files})
add_test(NAME translations_checker
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/check_translations.py --self-test)
set_tests_properties(translations_complete translations_checker PROPERTIES LABELS "i18n")

add_executable(tst_translations tst_translations.cpp)
target_link_libraries(tst_translations PRIVATE Qt6::Gui Qt6::Test)
target_compile_definitions(tst_translations PRIVATE
  NIVRA_PLAYER_PATH="$<TARGET_FILE:nivra-player>"
  DEMO_CARD="${NIVRA_SIMCARD_cardgen_demo}"
  MIDNIGHT_CARD="${NIVRA_SIMCARD_ui_midnight}"
  LAYOUT_SHOTS="${CMAKE_CURRENT_BINARY_DIR}/layout-shots")
add_dependencies(tst_translations nivra-player nivra_simcard_cardgen_demo nivra_simcard_ui_midnight)
nivra_warnings(tst_translations)
nivra_sound_test(tst_translations xvfb-run -a -s "-screen 0 1920x1200x24" $<TARGET_FILE:tst_translations>)
set_tests_properties(tst_translations PROPERTIES TIMEOUT 900 LABELS "ui")

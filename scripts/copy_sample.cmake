# Puts the sample script and its picture beside the executable, unless a
# GUI_All.txt is there already: that file holds the user's edits.
if(NOT EXISTS "${TARGET_FOLDER}/GUI_All.txt" AND NOT IS_SYMLINK "${TARGET_FOLDER}/GUI_All.txt")
  file(COPY "${SAMPLE_FOLDER}/GUI_All.txt" "${SAMPLE_FOLDER}/zarvo.png" DESTINATION "${TARGET_FOLDER}")
endif()

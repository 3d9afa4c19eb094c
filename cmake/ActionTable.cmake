# The table of the action classes, generated into the core library: the action
# factory creates steps by action name through it. A table rather than a
# registration per class in a static initialiser, which a static link would
# drop without a word. tests/actions checks it against the menu and view
# resources, so an action the resources name has a class here.
set(MORVANE_ACTION_CLASSES
    MRVN7x/actions/AddFolderNameAtFront
    MRVN7x/actions/AddFolderNameToEnd
    MRVN7x/actions/AddToBeginningAction
    MRVN7x/actions/AddToEndAction
    MRVN7x/actions/ChangeNumbersAction
    MRVN7x/actions/CompletelyReplaceAction
    MRVN7x/actions/ConvertToMacOS9Action
    MRVN7x/actions/ConvertToNTFSAction
    MRVN7x/actions/InsertAtEndOfTextAction
    MRVN7x/actions/InsertAtPosition
    MRVN7x/actions/InsertInFrontOfTextAction
    MRVN7x/actions/LowercaseAction
    MRVN7x/actions/ManualRenameAction
    MRVN7x/actions/ProperCaseAction
    MRVN7x/actions/RegExAction
    MRVN7x/actions/RemoveAnywhere
    MRVN7x/actions/RemoveAtFrontAction
    MRVN7x/actions/RemoveCharactersAction
    MRVN7x/actions/RemoveFromEndAction
    MRVN7x/actions/RemoveTextAction
    MRVN7x/actions/RemoveTextAtEndAction
    MRVN7x/actions/RemoveTextAtFrontAction
    MRVN7x/actions/RemoveTrailingSpacesAction
    MRVN7x/actions/RemoveVowelsAction
    MRVN7x/actions/ReplaceAtEndAction
    MRVN7x/actions/ReplaceAtFrontAction
    MRVN7x/actions/ReplaceCharactersAction
    MRVN7x/actions/ReplaceTextAction
    MRVN7x/actions/TruncateAction
    MRVN7x/actions/TruncateToDOSAction
    MRVN7x/actions/UppercaseAction
    MRVN7x/actions/sequence/AddAlphabeticalSequenceToEndAction
    MRVN7x/actions/sequence/AddAlphabeticalSequenceToStartAction
    MRVN7x/actions/sequence/AddNumberToEndAction
    MRVN7x/actions/sequence/AddNumberToStartAction
    MRVN7x/actions/sequence/InsertNumberAfterExistingTextAction
    MRVN7x/actions/sequence/InsertNumberAtPositionAction
    MRVN7x/actions/sequence/InsertNumberInFrontOfExistingTextAction
    MRVN7x/actions/sequence/ProduceAlphabeticalListAction
    MRVN7x/actions/sequence/ProduceNumberedListAction
    MRVN7x/lists/RenameFromListAction
    MRVN7x/metadata/AddDateToEndAction
    MRVN7x/metadata/AddDateToFrontAction
    MRVN7x/metadata/AddDimensionsToEndAction
    MRVN7x/metadata/AddDimensionsToFrontAction
    MRVN7x/metadata/DimensionsAction
    MRVN7x/metadata/MP3RenameAction
    MRVN7x/metadata/RenameToDateAction
    MRVN7x/metadata/RenameToDimensionsAction
)

set(includes "")
set(entries "")
foreach(path ${MORVANE_ACTION_CLASSES})
    get_filename_component(class ${path} NAME)
    string(APPEND includes "#include \"${path}.h\"\n")
    string(APPEND entries "        entry<${class}>(),\n")
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/cmake/ActionTable.cpp.in
               ${CMAKE_BINARY_DIR}/generated/ActionTable.cpp @ONLY)

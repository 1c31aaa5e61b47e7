# Makes the folders with links that the file-system and scan tests read:
# links made by the host, since Wine cannot make links to folders itself.
#   cmake -DDIR=<folder> -P make_folder_links.cmake
#   DIR/target/           a folder, and DIR/link leading to it
#   DIR/loop/a.mp3, DIR/loop/sub/b.mp3, and DIR/loop/sub/back leading to DIR/loop
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR}/target ${DIR}/loop/sub)
file(WRITE ${DIR}/loop/a.mp3 "x")
file(WRITE ${DIR}/loop/sub/b.mp3 "x")
file(CREATE_LINK ${DIR}/target ${DIR}/link SYMBOLIC)
file(CREATE_LINK ${DIR}/loop ${DIR}/loop/sub/back SYMBOLIC)

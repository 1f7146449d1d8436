# Fails when the README no longer carries the text of an example file as it stands.
# cmake -DREADME=<README.md> -DSNIPPETS=<file;file> -P ReadmeSnippets.cmake
file(READ ${README} readme)
foreach(snippet IN LISTS SNIPPETS)
  file(READ ${snippet} text)
  string(FIND "${readme}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README.md does not carry ${snippet} as it stands")
  endif()
endforeach()

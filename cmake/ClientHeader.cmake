# Writes the client header SkedraXControl.h: the type library's C++ declarations with the GUID
# values in place, so that a client needs this one file besides the Windows SDK headers.
# cmake -DDECLARATIONS=<SkedraXControl_TLB.h> -DVALUES=<SkedraXControl_TLB.cpp> -DOUTPUT=<file> -P ClientHeader.cmake
file(READ ${DECLARATIONS} header)
file(STRINGS ${VALUES} definitions REGEX "^const (GUID|IID|CLSID) [A-Za-z_0-9]+ = ")

string(REGEX REPLACE "^// [^\n]*\n" "// SkedraXControl.ocx for C++ clients: GUIDs, enumerations, DISPIDs and interfaces of its type library.\n"
       header "${header}")
string(REGEX REPLACE "\n// The GUIDs are fixed[^\n]*\n" "\n// The GUIDs are fixed for ever; each translation unit gets its own copy of the values.\n"
       header "${header}")
string(REGEX REPLACE "extern \"C\" {\n" "" header "${header}")
string(REGEX REPLACE "(extern const [A-Z]+ [A-Za-z_0-9]+;\n)}\n" "\\1" header "${header}")
foreach(definition IN LISTS definitions)
  string(REGEX MATCH "^const ([A-Z]+) ([A-Za-z_0-9]+) = " declaration "${definition}")
  set(type ${CMAKE_MATCH_1})
  set(name ${CMAKE_MATCH_2})
  string(REPLACE "extern const ${type} ${name};" "${definition}" header "${header}")
endforeach()
if(header MATCHES "extern")
  message(FATAL_ERROR "ClientHeader: a GUID of ${DECLARATIONS} has no value in ${VALUES}")
endif()
# Written only when it changes, so that its clients are not rebuilt for nothing.
file(WRITE ${OUTPUT}.tmp "${header}")
configure_file(${OUTPUT}.tmp ${OUTPUT} COPYONLY)
file(REMOVE ${OUTPUT}.tmp)

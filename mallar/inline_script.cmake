# Writes a template with a script inline in place of its marker, so that the
# built template is a page that needs no file of its own. Index templates have
# CR LF line ends (CRLF=ON); file(READ) drops the CRs, so every line end is
# then written as CR LF again.
#   cmake -DTEMPLATE=in.html -DSCRIPT=bildspel.js -DMARKER="<!-- bildspel.js -->"
#         -DCRLF=ON -DOUTPUT=out.html -P inline_script.cmake
cmake_minimum_required(VERSION 3.25)
file(READ "${TEMPLATE}" page)
file(READ "${SCRIPT}" script)
string(REPLACE "${MARKER}" "<script>\n${script}</script>" page "${page}")
if(CRLF)
  string(REPLACE "\n" "\r\n" page "${page}")
endif()
file(WRITE "${OUTPUT}" "${page}")

# Writes an index template with the slideshow script inline in place of its
# marker, so that the built template is a page that needs no file of its own.
# Index templates have CR LF line ends; file(READ) drops the CRs, so every
# line end is written as CR LF again.
#   cmake -DTEMPLATE=in.html -DSCRIPT=bildspel.js -DOUTPUT=out.html -P inline_script.cmake
cmake_minimum_required(VERSION 3.25)
file(READ "${TEMPLATE}" page)
file(READ "${SCRIPT}" script)
string(REPLACE "<!-- bildspel.js -->" "<script>\n${script}</script>" page "${page}")
string(REPLACE "\n" "\r\n" page "${page}")
file(WRITE "${OUTPUT}" "${page}")

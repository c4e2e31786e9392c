# Writes FILE: one line of BYTES letters, no line break.
string(REPEAT "a" ${BYTES} line)
file(WRITE "${FILE}" "${line}")

# Writes the settings file beside a built lobeview so that it talks to an
# analyser on loopback: created when missing, and any DSA-IP outside
# 127.0.0.0/8 is put back to 127.0.0.1. Other keys are kept.
if(EXISTS "${INI}")
  file(READ "${INI}" text)
  if(text MATCHES "DSA-IP=127\\.")
    return()
  endif()
  if(text MATCHES "DSA-IP=[^\r\n]*")
    string(REGEX REPLACE "DSA-IP=[^\r\n]*" "DSA-IP=127.0.0.1" text "${text}")
    file(WRITE "${INI}" "${text}")
    return()
  endif()
endif()
file(APPEND "${INI}" "[Extra]\r\nDSA-IP=127.0.0.1\r\n")

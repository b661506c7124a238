#include "varnel/res/resources.h"

namespace res {

namespace {

constexpr ui::StringResource strings[] = {
    {IDR_MAINFRAME, u"Varnel"},
};

// Common controls 6.0 for the themed controls; asInvoker, as the program needs no rights of its own.
constexpr std::string_view manifest = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Varnel" version="1.0.0.0" processorArchitecture="*"/>
  <description>Varnel</description>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="asInvoker" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
</assembly>
)";

} // namespace

const ui::ResourceModule& module() {
    static const ui::ResourceModule m{dialogs, {&mainIcon, 1}, strings, manifest};
    return m;
}

} // namespace res

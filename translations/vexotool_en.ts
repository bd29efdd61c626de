<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AboutClass</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>AboutDialog</name>
    <message>
        <source>VEXO</source>
        <translation>VEXO</translation>
    </message>
    <message>
        <source>User Help</source>
        <translation>User Help</translation>
    </message>
    <message>
        <source>v3.0.0.1build</source>
        <translation>v3.0.0.1build</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>No user manual found.</source>
        <translation>No user manual found.</translation>
    </message>
</context>
<context>
    <name>BaseDialog</name>
    <message>
        <source>BaseDialog</source>
        <translation>BaseDialog</translation>
    </message>
    <message>
        <source>null content</source>
        <translation>null content</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TipDialog</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>sure</source>
        <translation>sure</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceDisplayPage</name>
    <message>
        <source>Succeed</source>
        <translation>Succeed</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Total number of online devices:</source>
        <translation>Total number of online devices:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Config Reset</source>
        <translation>Config Reset</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Config Export</source>
        <translation>Config Export</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceInfoModel</name>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>Device Type</translation>
    </message>
    <message>
        <source>Activate</source>
        <translation>Activate</translation>
    </message>
    <message>
        <source>IPv4 Address</source>
        <translation>IPv4 Address</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Soft Vision</source>
        <translation>Soft Vision</translation>
    </message>
    <message>
        <source>IPv4 GateWay</source>
        <translation>IPv4 GateWay</translation>
    </message>
    <message>
        <source>HttpPort</source>
        <translation>HttpPort</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>IPv4 Mask</source>
        <translation>IPv4 Mask</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Channel NO</source>
        <translation>Channel NO</translation>
    </message>
    <message>
        <source>DSP Vision</source>
        <translation>DSP Vision</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Start Time</translation>
    </message>
    <message>
        <source>IPv6 Address</source>
        <translation>IPv6 Address</translation>
    </message>
    <message>
        <source>IPv6 GateWay</source>
        <translation>IPv6 GateWay</translation>
    </message>
    <message>
        <source>IPv6 Prefix Length</source>
        <translation>IPv6 Prefix Length</translation>
    </message>
    <message>
        <source>Is Support IPv6</source>
        <translation>Is Support IPv6</translation>
    </message>
    <message>
        <source>Is Support Mod IPv6</source>
        <translation>Is Support Mod IPv6</translation>
    </message>
    <message>
        <source>Is Support DHCP</source>
        <translation>Is Support DHCP</translation>
    </message>
    <message>
        <source>IPv4 DHCP</source>
        <translation>IPv4 DHCP</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Activated</translation>
    </message>
    <message>
        <source>Not activated</source>
        <translation>Not activated</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyPage</name>
    <message>
        <source>Succeed</source>
        <translation>Succeed</translation>
    </message>
</context>
<context>
    <name>VexoTool::PasswordStrength</name>
    <message>
        <source>Weak</source>
        <extracomment>Password strength</extracomment>
        <translation>Weak</translation>
    </message>
    <message>
        <source>Medium</source>
        <extracomment>Password strength</extracomment>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Strong</source>
        <extracomment>Password strength</extracomment>
        <translation>Strong</translation>
    </message>
</context>
<context>
    <name>VexoTool::VEXOToolMainPage</name>
    <message>
        <source>VEXO Tool</source>
        <translation>VEXO Tool</translation>
    </message>
    <message>
        <source>Initialization failed.</source>
        <translation>Initialization failed.</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Exit the VEXO software?</source>
        <translation>Exit the VEXO software?</translation>
    </message>
</context>
<context>
    <name>WarningDialog</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>apt::ToolsApplication</name>
    <message>
        <source>VEXOTool</source>
        <translation>VEXOTool</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>VEXO is already running.</source>
        <translation>VEXO is already running.</translation>
    </message>
    <message>
        <source>Display resolution less than 1024*768,are you sure to start the program?</source>
        <translation>Display resolution less than 1024*768,are you sure to start the program?</translation>
    </message>
</context>
<context>
    <name>aptui::CDlgAbout</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source> v2.0.0.3</source>
        <translation> v2.0.0.3</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
</context>
</TS>

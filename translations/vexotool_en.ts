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
        <translation>VEXO Tool</translation>
    </message>
    <message>
        <source>User Help</source>
        <translation>User Help</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>No user manual found.</source>
        <translation>No user manual found.</translation>
    </message>
    <message>
        <source>Looked for &quot;%1&quot; in:
%2</source>
        <extracomment>%1 is the manual&apos;s file name, %2 the folders searched, one a line.</extracomment>
        <translation>Looked for &quot;%1&quot; in:
%2</translation>
    </message>
    <message>
        <source>No program to show PDF files could open the user manual &quot;%1&quot;. It is in this folder:
%2</source>
        <extracomment>%1 is the manual&apos;s file name, %2 its folder.</extracomment>
        <translation>No program to show PDF files could open the user manual &quot;%1&quot;. It is in this folder:
%2</translation>
    </message>
    <message>
        <source>Test build: accepts test device certificates</source>
        <extracomment>Shown under the version in a build that trusts the published test certificate authority</extracomment>
        <translation>Test build: accepts test device certificates</translation>
    </message>
    <message>
        <source>v%1build</source>
        <extracomment>%1 is the program&apos;s version; the build number follows</extracomment>
        <translation>v%1 build </translation>
    </message>
</context>
<context>
    <name>BaseDialog</name>
    <message>
        <source>BaseDialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>null content</source>
        <translation>No content</translation>
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
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Folder</translation>
    </message>
    <message>
        <source>File Folder</source>
        <comment>Match Windows Explorer</comment>
        <translation>File Folder</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unknown</translation>
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
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>VexoTool::BatchRecovery</name>
    <message>
        <source>Loading...</source>
        <translation>Please wait…</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Folder: %1</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>No program on this computer opens folders. The files are in %1.</source>
        <translation>No program on this computer opens folders. The files are in %1.</translation>
    </message>
    <message>
        <source>(listed in %1)</source>
        <translation>(listed in %1)</translation>
    </message>
    <message>
        <source>Key files written: %1</source>
        <translation>Key files written: %1</translation>
    </message>
    <message>
        <source>Devices that gave no key: %1</source>
        <translation>Devices that gave no key: %1</translation>
    </message>
    <message>
        <source>Export Keys</source>
        <translation>Export Keys</translation>
    </message>
    <message>
        <source>Passwords reset: %1</source>
        <translation>Passwords reset: %1</translation>
    </message>
    <message>
        <source>Resets the devices refused: %1</source>
        <translation>Resets the devices refused: %1</translation>
    </message>
    <message>
        <source>Devices without a reset file: %1</source>
        <translation>Devices without a reset file: %1</translation>
    </message>
    <message>
        <source>Batch Reset</source>
        <translation>Batch Reset</translation>
    </message>
    <message>
        <source>No reset file for this device.</source>
        <translation>No reset file for this device.</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceActivePage</name>
    <message>
        <source>Device not activated</source>
        <translation>Device not activated</translation>
    </message>
    <message>
        <source>The network parameters can be modified after the device is activated</source>
        <translation>The network parameters can be changed once the device is activated.</translation>
    </message>
    <message>
        <source>Active now</source>
        <translation>Activate now</translation>
    </message>
    <message>
        <source>Device active</source>
        <translation>Activate Device</translation>
    </message>
    <message>
        <source>Batch devices active</source>
        <translation>Activate Devices</translation>
    </message>
    <message>
        <source>Batch devices network parameters</source>
        <translation>Batch Network Parameters</translation>
    </message>
    <message>
        <source>Sorry,the devices you have chosen has not activated devices</source>
        <translation>Some of the selected devices are not activated.</translation>
    </message>
    <message>
        <source>Note: please activate</source>
        <translation>Note: activate </translation>
    </message>
    <message>
        <source>the device</source>
        <translation>these devices</translation>
    </message>
    <message>
        <source>to perform other operations</source>
        <translation> before anything else.</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceDisplayPage</name>
    <message>
        <source>Succeed</source>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Total number of online devices:</source>
        <translation>Devices online:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Config Reset</source>
        <translation>Batch Reset</translation>
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
        <translation>Export Keys</translation>
    </message>
    <message>
        <source>No device answers: check the cable and the firewall.</source>
        <translation>No device answers: check the cable and the firewall.</translation>
    </message>
    <message>
        <source>Filter: serial number, MAC, model, IP address or range, version</source>
        <extracomment>Placeholder of the device list&apos;s filter box.</extracomment>
        <translation>Filter: serial number, MAC, model, IP address or range, version</translation>
    </message>
    <message>
        <source>Shows only the devices that match (Ctrl+F). An address range is typed as 192.168.1.0/24 or 192.168.1.10-192.168.1.50. Esc clears the filter.</source>
        <translation>Shows only the devices that match (Ctrl+F). An address range is typed as 192.168.1.0/24 or 192.168.1.10-192.168.1.50. Esc clears the filter.</translation>
    </message>
    <message numerus="yes">
        <source>%n checked rows are hidden by the filter</source>
        <extracomment>Beside the filter box: checked devices that the filter does not show are left out of the flows.</extracomment>
        <translation>
            <numerusform>%n checked row is hidden by the filter</numerusform>
            <numerusform>%n checked rows are hidden by the filter</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>The count line while the filter is on: devices shown of all devices listed.</extracomment>
        <translation>%1 of %2</translation>
    </message>
    <message numerus="yes">
        <source>%n address conflicts</source>
        <extracomment>In the count line: how many IPv4 addresses are used by more than one device.</extracomment>
        <translation>
            <numerusform>%n address conflict</numerusform>
            <numerusform>%n address conflicts</numerusform>
        </translation>
    </message>
    <message>
        <source>Web Page</source>
        <translation>Web Page</translation>
    </message>
    <message>
        <source>No web browser could open the device&apos;s web page. Copy its address into a browser:
%1</source>
        <extracomment>%1 is a device&apos;s web address, such as http://192.168.1.64:80</extracomment>
        <translation>No web browser could open the device&apos;s web page. Copy its address into a browser:
%1</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Copy Address</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceFilter</name>
    <message>
        <source>A network is an address, &quot;/&quot; and a prefix length from 0 to 32, as in 192.168.1.0/24.</source>
        <extracomment>Below the filter box, for a text such as 192.168.1.0/33.</extracomment>
        <translation>A network is an address, &quot;/&quot; and a prefix length from 0 to 32, as in 192.168.1.0/24.</translation>
    </message>
    <message>
        <source>A range starts at its lower address, as in 192.168.1.10-192.168.1.50.</source>
        <extracomment>Below the filter box, for a text such as 192.168.1.50-192.168.1.10.</extracomment>
        <translation>A range starts at its lower address, as in 192.168.1.10-192.168.1.50.</translation>
    </message>
    <message>
        <source>A range is two whole addresses, first-last, as in 192.168.1.10-192.168.1.50.</source>
        <extracomment>Below the filter box, for a text such as 198.51.100.4-11.</extracomment>
        <translation>A range is two whole addresses, first-last, as in 192.168.1.10-192.168.1.50.</translation>
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
        <translation>No.</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>Device Type</translation>
    </message>
    <message>
        <source>Activate</source>
        <translation>Activation</translation>
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
        <translation>Software Version</translation>
    </message>
    <message>
        <source>IPv4 GateWay</source>
        <translation>IPv4 Gateway</translation>
    </message>
    <message>
        <source>HttpPort</source>
        <translation>HTTP Port</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>IPv4 Mask</source>
        <translation>IPv4 Subnet Mask</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC Address</translation>
    </message>
    <message>
        <source>Channel NO</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>DSP Vision</source>
        <translation>DSP Version</translation>
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
        <translation>IPv6 Gateway</translation>
    </message>
    <message>
        <source>IPv6 Prefix Length</source>
        <translation>IPv6 Prefix Length</translation>
    </message>
    <message>
        <source>Is Support IPv6</source>
        <translation>IPv6 Support</translation>
    </message>
    <message>
        <source>Is Support Mod IPv6</source>
        <translation>IPv6 Changeable</translation>
    </message>
    <message>
        <source>Is Support DHCP</source>
        <translation>DHCP Support</translation>
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
        <translation>On</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</source>
        <translation>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</translation>
    </message>
    <message>
        <source>Needs log-in</source>
        <extracomment>the status of a device found by ONVIF whose details need its user name and password</extracomment>
        <translation>Needs log-in</translation>
    </message>
    <message>
        <source>%1 (ONVIF)</source>
        <extracomment>the Device Type cell of a device found by ONVIF; %1 is its model or &quot;—&quot;</extracomment>
        <translation>%1 (ONVIF)</translation>
    </message>
    <message>
        <source>%1 +ONVIF</source>
        <extracomment>the Device Type cell of a device that answers both the program&apos;s own protocol (VXDP) and ONVIF</extracomment>
        <translation>%1 +ONVIF</translation>
    </message>
    <message>
        <source>Found by ONVIF: its network settings are changed with a user name and password; activation and password recovery are not available.</source>
        <translation>Found by ONVIF: its network settings are changed with a user name and password; activation and password recovery are not available.</translation>
    </message>
    <message>
        <source>Answers both the device protocol (VXDP) and ONVIF; this program uses the device protocol.</source>
        <translation>Answers both the device protocol (VXDP) and ONVIF; this program uses the device protocol.</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>Address conflict: %1 is also used by
%2</source>
        <extracomment>Tool tip of a device whose IPv4 address another listed device also uses; %1 is the address, %2 the other devices, one &quot;serial number (MAC)&quot; a line.</extracomment>
        <translation>Address conflict: %1 is also used by
%2</translation>
    </message>
    <message>
        <source>Found by ONVIF. Sign in with &quot;ONVIF Sign-In...&quot; in the title bar&apos;s menu, or enter its user name and password in the panel, to read its serial number, MAC address and network settings.</source>
        <translation>Found by ONVIF. Sign in with “ONVIF Sign-In…” in the title bar&apos;s menu, or enter its user name and password in the panel, to read its serial number, MAC address and network settings.</translation>
    </message>
    <message>
        <source>Identity conflict: the devices at %1 and %2 claim to be the same device. No password is sent to it until the list is refreshed.</source>
        <extracomment>Tool tip of an ONVIF device whose identity a device at another address also claims; %1 is the listed device&apos;s address, %2 the other one.</extracomment>
        <translation>Identity conflict: the devices at %1 and %2 claim to be the same device. No password is sent to it until the list is refreshed.</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyPage</name>
    <message>
        <source>Succeed</source>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Activate</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>New Password:</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>Confirm Password:</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>Forget Password</source>
        <translation>Forgot Password</translation>
    </message>
    <message>
        <source>Admin Password:</source>
        <translation>Admin Password:</translation>
    </message>
    <message>
        <source>Sorry, please select the equipment.</source>
        <translation>Please select a device.</translation>
    </message>
    <message>
        <source>Sorry, please enter the administrator password.</source>
        <translation>Please enter the administrator password.</translation>
    </message>
    <message>
        <source>Modify network parameters succeed.</source>
        <translation>The network parameters were changed.</translation>
    </message>
    <message>
        <source>Device deny.</source>
        <translation>The device refused.</translation>
    </message>
    <message>
        <source>Time out.</source>
        <translation>The device did not answer in time.</translation>
    </message>
    <message>
        <source>Error%1:others</source>
        <translation>Error %1: other failure</translation>
    </message>
    <message>
        <source>Only %1 of the %2 selected devices fit between the start address %3 and the end of its subnet. Choose a lower start address or fewer devices.</source>
        <translation>Only %1 of the %2 selected devices fit between the start address %3 and the end of its subnet. Choose a lower start address or fewer devices.</translation>
    </message>
    <message>
        <source>The address %1 is already used by another device in the list.</source>
        <translation>The address %1 is already used by another device in the list.</translation>
    </message>
    <message>
        <source>Modifying device %1 of %2 ...</source>
        <translation>Changing device %1 of %2…</translation>
    </message>
    <message>
        <source>Error%1:device deny</source>
        <translation>Error %1: refused by the device</translation>
    </message>
    <message>
        <source>Error%1:time out</source>
        <translation>Error %1: timed out</translation>
    </message>
    <message>
        <source>Please select a device.</source>
        <translation>Please select a device.</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>The password cannot be empty.</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>The two passwords do not match.</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers,lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case letters, upper-case letters and special characters.</translation>
    </message>
    <message>
        <source>Activate Succeed.</source>
        <translation>Activated.</translation>
    </message>
    <message>
        <source>Activating device %1 of %2 ...</source>
        <translation>Activating device %1 of %2…</translation>
    </message>
    <message>
        <source>Error%1:Device deny.</source>
        <translation>Error %1: refused by the device</translation>
    </message>
    <message>
        <source>Error%1:reactive</source>
        <translation>Error %1: already activated</translation>
    </message>
    <message>
        <source>VEXO Tool</source>
        <translation>VEXO Tool</translation>
    </message>
    <message>
        <source>Modifying the device&apos;s network parameters ...</source>
        <translation>Changing the device&apos;s network parameters…</translation>
    </message>
    <message>
        <source>The device answered late; its announcement confirms the change.</source>
        <translation>The device answered late; its announcement confirms the change.</translation>
    </message>
    <message>
        <source>Activating the device ...</source>
        <translation>Activating the device…</translation>
    </message>
    <message>
        <source>A user name has at most %1 characters.</source>
        <extracomment>Shown under the user-name field when a further character is refused</extracomment>
        <translation>A user name has at most %1 characters.</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>User Name:</translation>
    </message>
    <message>
        <source>Try the change anyway</source>
        <translation>Try the change anyway</translation>
    </message>
    <message>
        <source>Please enter the user name for the ONVIF devices.</source>
        <translation>Please enter the user name for the ONVIF devices.</translation>
    </message>
    <message>
        <source>Not changed: this program cannot change ONVIF devices yet.</source>
        <translation>Not changed: this program cannot change ONVIF devices yet.</translation>
    </message>
    <message>
        <source>The device keeps working with its old settings until it restarts (for example after a power cut); then it uses the new ones.</source>
        <translation>The device keeps working with its old settings until it restarts (for example after a power cut); then it uses the new ones.</translation>
    </message>
    <message>
        <source>Restart needed</source>
        <translation>Restart needed</translation>
    </message>
    <message numerus="yes">
        <source>%n device(s) must restart to use the new settings: %1.
Restart now, or later? Later: each keeps its old settings until it restarts, for example after a power cut.</source>
        <translation>
            <numerusform>%n device must restart to use the new settings: %1.
Restart now, or later? Later: it keeps its old settings until it restarts, for example after a power cut.</numerusform>
            <numerusform>%n devices must restart to use the new settings: %1.
Restart now, or later? Later: each keeps its old settings until it restarts, for example after a power cut.</numerusform>
        </translation>
    </message>
    <message>
        <source>Restart now</source>
        <extracomment>button of the question whether devices restart now</extracomment>
        <translation>Restart now</translation>
    </message>
    <message>
        <source>Later</source>
        <extracomment>button of the question whether devices restart now: they restart some other time</extracomment>
        <translation>Later</translation>
    </message>
    <message>
        <source>Restarting device %1 of %2 ...</source>
        <translation>Restarting device %1 of %2…</translation>
    </message>
    <message>
        <source>The device is restarting and uses the new settings once it is back.</source>
        <translation>The device is restarting and uses the new settings once it is back.</translation>
    </message>
    <message>
        <source>The device did not restart: %1</source>
        <translation>The device did not restart: %1</translation>
    </message>
    <message>
        <source>Not changed: no network adapter of this computer is in the device&apos;s subnet.</source>
        <translation>Not changed: no network adapter of this computer is in the device&apos;s subnet.</translation>
    </message>
    <message>
        <source>Change Password...</source>
        <extracomment>link under the Modify button that opens the dialog changing an ONVIF device user&apos;s password</extracomment>
        <translation>Change Password…</translation>
    </message>
    <message>
        <source>Changes a user&apos;s password on the device; it needs the current password. A lost password is reset on the device or with its maker&apos;s tool.</source>
        <translation>Changes a user&apos;s password on the device; it needs the current password. A lost password is reset on the device or with its maker&apos;s tool.</translation>
    </message>
    <message>
        <source>Forget Certificate...</source>
        <extracomment>link that forgets the TLS certificate the program pinned for an ONVIF device</extracomment>
        <translation>Forget Certificate...</translation>
    </message>
    <message>
        <source>The device&apos;s certificate, pinned when it was first seen (SHA-256):
%1
Forget it only when the device was reset or got a new certificate.</source>
        <translation>The device&apos;s certificate, pinned when it was first seen (SHA-256):
%1
Forget it only when the device was reset or got a new certificate.</translation>
    </message>
    <message>
        <source>Forget Certificate</source>
        <translation>Forget Certificate</translation>
    </message>
    <message>
        <source>Forget the certificate of %1? The next certificate it presents is trusted in its place, also one of another computer posing as the device.</source>
        <translation>Forget the certificate of %1? The next certificate it presents is trusted in its place, also one of another computer posing as the device.</translation>
    </message>
    <message>
        <source>each device&apos;s own</source>
        <extracomment>Placeholder of the batch Port field: an empty field leaves each device&apos;s port as it is</extracomment>
        <translation>each device&apos;s own</translation>
    </message>
    <message>
        <source>Forget</source>
        <extracomment>button: forget the device&apos;s pinned certificate</extracomment>
        <translation>Forget</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyResultPage</name>
    <message>
        <source>ID</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation>Device Type</translation>
    </message>
    <message>
        <source>IPv4 Address</source>
        <translation>IPv4 Address</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>Modification</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Error%1: %2</source>
        <extracomment>A line below the result list: an error code and what it means.</extracomment>
        <translation>Error %1: %2</translation>
    </message>
    <message>
        <source>Network Change Results</source>
        <translation>Network Change Results</translation>
    </message>
    <message>
        <source>Activation Results</source>
        <translation>Activation Results</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Activation</translation>
    </message>
    <message>
        <source>Succeeded</source>
        <extracomment>In the result list, for a device the batch operation succeeded on.</extracomment>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>Activated: %1 of %2</source>
        <translation>Activated: %1 of %2</translation>
    </message>
    <message>
        <source>Changed: %1 of %2</source>
        <translation>Changed: %1 of %2</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>ONVIF Sign-In Results</source>
        <extracomment>title of the list saying how identifying each ONVIF device went after &quot;ONVIF Sign-In&quot;</extracomment>
        <translation>ONVIF Sign-In Results</translation>
    </message>
    <message>
        <source>Sign-In</source>
        <extracomment>header of the column saying whether the device was identified, or why not</extracomment>
        <translation>Sign-In</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceNetParaPage</name>
    <message>
        <source>Inport DevciePara</source>
        <translation>Import Device Parameters</translation>
    </message>
    <message>
        <source>Enable DHCP</source>
        <translation>Enable DHCP</translation>
    </message>
    <message>
        <source>StartIp:</source>
        <translation>Start IP:</translation>
    </message>
    <message>
        <source>Please set the start Ip address,then add one</source>
        <translation>Set the start IP address; each further device gets the next address.</translation>
    </message>
    <message>
        <source>Device Serial:</source>
        <translation>Serial Number:</translation>
    </message>
    <message>
        <source>Short Serial:</source>
        <translation>Short Serial:</translation>
    </message>
    <message>
        <source>Start Time:</source>
        <translation>Start Time:</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP Address:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Subnet Mask:</source>
        <translation>Subnet Mask:</translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>IPv6 Address:</source>
        <translation>IPv6 Address:</translation>
    </message>
    <message>
        <source>IPv6 Gateway:</source>
        <translation>IPv6 Gateway:</translation>
    </message>
    <message>
        <source>IPv6 Prefix Length:</source>
        <translation>IPv6 Prefix Length:</translation>
    </message>
    <message>
        <source>Http Port:</source>
        <translation>HTTP Port:</translation>
    </message>
    <message>
        <source>Security Verification</source>
        <translation>Security Verification</translation>
    </message>
    <message>
        <source>Modify Network parameters</source>
        <translation>Change Network Parameters</translation>
    </message>
    <message>
        <source>Batch Modify Network parameters</source>
        <translation>Batch Network Parameters</translation>
    </message>
    <message>
        <source>Please input IP Address.</source>
        <translation>Please enter the IP address.</translation>
    </message>
    <message>
        <source>IP Address not correct.</source>
        <translation>The IP address is not valid.</translation>
    </message>
    <message>
        <source>Device port ranges from 2000 to 65535.</source>
        <translation>The device port must be between 2000 and 65535.</translation>
    </message>
    <message>
        <source>Subnet mask can not be empty.</source>
        <translation>The subnet mask cannot be empty.</translation>
    </message>
    <message>
        <source>Subnet Mask not correct.</source>
        <translation>The subnet mask is not valid.</translation>
    </message>
    <message>
        <source>Gateway can not be empty</source>
        <translation>The gateway cannot be empty.</translation>
    </message>
    <message>
        <source>Gateway not correct.</source>
        <translation>The gateway is not valid.</translation>
    </message>
    <message>
        <source>Http port ranges from 1 to 65535.</source>
        <translation>The HTTP port must be between 1 and 65535.</translation>
    </message>
    <message>
        <source>IPv6 Address not correct.</source>
        <translation>The IPv6 address is not valid.</translation>
    </message>
    <message>
        <source>IPv6 gateway not correct.</source>
        <translation>The IPv6 gateway is not valid.</translation>
    </message>
    <message>
        <source>IPv6 prefix length ranges from 0 to 127.</source>
        <translation>The IPv6 prefix length must be between 0 and 127.</translation>
    </message>
    <message>
        <source>Use an address from %1 to %2.</source>
        <translation>Use an address from %1 to %2.</translation>
    </message>
    <message>
        <source>Write the gateway without leading zeros, for example 198.51.100.1 rather than 198.51.100.01.</source>
        <translation>Write the gateway without leading zeros, for example 198.51.100.1 rather than 198.51.100.01.</translation>
    </message>
    <message>
        <source>Write the IP address without leading zeros, for example 198.51.100.9 rather than 198.51.100.09.</source>
        <translation>Write the IP address without leading zeros, for example 198.51.100.9 rather than 198.51.100.09.</translation>
    </message>
    <message>
        <source>Addresses that begin with 0 cannot be given to a device.</source>
        <translation>Addresses that begin with 0 cannot be given to a device.</translation>
    </message>
    <message>
        <source>Addresses that begin with 127 are loopback addresses and cannot be given to a device.</source>
        <translation>Addresses that begin with 127 are loopback addresses and cannot be given to a device.</translation>
    </message>
    <message>
        <source>Addresses from 224.0.0.0 to 239.255.255.255 are multicast addresses and cannot be given to a device.</source>
        <translation>Addresses from 224.0.0.0 to 239.255.255.255 are multicast addresses and cannot be given to a device.</translation>
    </message>
    <message>
        <source>Addresses from 240.0.0.0 up are reserved and cannot be given to a device.</source>
        <translation>Addresses from 240.0.0.0 up are reserved and cannot be given to a device.</translation>
    </message>
    <message>
        <source>The IP address is the network address of its subnet.</source>
        <translation>The IP address is the network address of its subnet.</translation>
    </message>
    <message>
        <source>The IP address is the broadcast address of its subnet.</source>
        <translation>The IP address is the broadcast address of its subnet.</translation>
    </message>
    <message>
        <source>Subnet mask 0.0.0.0 leaves the device without a subnet.</source>
        <translation>Subnet mask 0.0.0.0 leaves the device without a subnet.</translation>
    </message>
    <message>
        <source>The gateway must be an address of the device&apos;s subnet, from %1 to %2.</source>
        <translation>The gateway must be an address of the device&apos;s subnet, from %1 to %2.</translation>
    </message>
    <message>
        <source>The gateway cannot be the device&apos;s own IP address.</source>
        <translation>The gateway cannot be the device&apos;s own IP address.</translation>
    </message>
    <message>
        <source>The address %1 is already used by another device in the list.</source>
        <translation>The address %1 is already used by another device in the list.</translation>
    </message>
</context>
<context>
    <name>VexoTool::DevicesInfoSavePage</name>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>File path:</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>Please input file name.</source>
        <translation>Please enter a file name.</translation>
    </message>
    <message>
        <source>Please input file path.</source>
        <translation>Please enter a folder.</translation>
    </message>
    <message>
        <source>The file name has been used, please change it</source>
        <translation>A file of this name already exists. Please choose another name.</translation>
    </message>
    <message>
        <source>Saving succeed.</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>Saving failed.</source>
        <translation>The file could not be saved.</translation>
    </message>
</context>
<context>
    <name>VexoTool::ErrorExplanation</name>
    <message>
        <source>The reset file could not be read: it may have been moved, renamed or deleted. Choose the file again.</source>
        <translation>The reset file could not be read: it may have been moved, renamed or deleted. Choose the file again.</translation>
    </message>
    <message>
        <source>The device refused the password, key or code. Check it and try again: after five wrong tries the device refuses this computer for a while.</source>
        <translation>The device refused the password, key or code. Check it and try again: after five wrong tries the device refuses this computer for a while.</translation>
    </message>
    <message>
        <source>The device did not answer in time and may still apply the change. Look at its values in the list in a moment before trying again.</source>
        <translation>The device did not answer in time and may still apply the change. Look at its values in the list in a moment before trying again.</translation>
    </message>
    <message>
        <source>After too many wrong passwords the device refuses this computer for a while. Wait a few minutes and try again, or use Forget Password.</source>
        <translation>After too many wrong passwords the device refuses this computer for a while. Wait a few minutes and try again, or use Forgot Password.</translation>
    </message>
    <message>
        <source>The device does not support this: some devices cannot change a setting (for example their IPv6 address) or export a reset key. Leave the setting as it is, or use another way.</source>
        <translation>The device does not support this: some devices cannot change a setting (for example their IPv6 address) or export a reset key. Leave the setting as it is, or use another way.</translation>
    </message>
    <message>
        <source>The device has no valid certificate from its maker and may be an impostor. Nothing secret was sent to it. Check the device before trying again.</source>
        <translation>The device has no valid certificate from its maker and may be an impostor. Nothing secret was sent to it. Check the device before trying again.</translation>
    </message>
</context>
<context>
    <name>VexoTool::ExcelManager</name>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>Device Serial Number</source>
        <translation>Device Serial Number</translation>
    </message>
</context>
<context>
    <name>VexoTool::HandoverDialog</name>
    <message>
        <source>Hand-over Report</source>
        <extracomment>title of the dialog that writes the hand-over report</extracomment>
        <translation>Hand-over Report</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>Site:</source>
        <extracomment>label of the hand-over report&apos;s site name</extracomment>
        <translation>Site:</translation>
    </message>
    <message>
        <source>Changes from:</source>
        <extracomment>label of the start of the period whose changes the hand-over report lists</extracomment>
        <translation>Changes from:</translation>
    </message>
    <message>
        <source>until:</source>
        <extracomment>label of the end of the period whose changes the hand-over report lists</extracomment>
        <translation>until:</translation>
    </message>
    <message>
        <source>Please enter the site&apos;s name.</source>
        <translation>Please enter the site&apos;s name.</translation>
    </message>
    <message>
        <source>Save the hand-over report</source>
        <translation>Save the hand-over report</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>Saved: %1 and %2</source>
        <translation>Saved: %1 and %2</translation>
    </message>
</context>
<context>
    <name>VexoTool::HandoverReport</name>
    <message>
        <source>The journal cannot be read: %1</source>
        <translation>The journal cannot be read: %1</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>Addresses</source>
        <translation>Addresses</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Verification</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>After</source>
        <translation>After</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Explanation</source>
        <translation>Explanation</translation>
    </message>
    <message>
        <source>unknown</source>
        <extracomment>the hand-over report&apos;s operator when the operating system does not say who it is</extracomment>
        <translation>unknown</translation>
    </message>
    <message>
        <source>the first entry</source>
        <extracomment>the period of the hand-over report&apos;s changes when it has no start</extracomment>
        <translation>the first entry</translation>
    </message>
    <message>
        <source>now</source>
        <extracomment>the period of the hand-over report&apos;s changes when it has no end</extracomment>
        <translation>now</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>%1 and %2 are the period&apos;s start and end</extracomment>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>Hand-over report: %1</source>
        <translation>Hand-over report: %1</translation>
    </message>
    <message>
        <source>%1 cannot be written.</source>
        <translation>%1 cannot be written.</translation>
    </message>
    <message>
        <source>Date: %1</source>
        <translation>Date: %1</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>Operator: %1</translation>
    </message>
    <message>
        <source>Changes from %1</source>
        <translation>Changes from %1</translation>
    </message>
    <message>
        <source>Devices (%1)</source>
        <extracomment>heading of the hand-over report&apos;s device list; %1 is how many</extracomment>
        <translation>Devices (%1)</translation>
    </message>
    <message>
        <source>Changes (%1)</source>
        <translation>Changes (%1)</translation>
    </message>
    <message>
        <source>Failures still open (%1)</source>
        <translation>Failures still open (%1)</translation>
    </message>
    <message>
        <source>Hand-over</source>
        <extracomment>name of the hand-over report workbook&apos;s sheet</extracomment>
        <translation>Hand-over</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <source>Snapshots (%1)</source>
        <extracomment>heading of the hand-over report&apos;s camera pictures; %1 is how many</extracomment>
        <translation>Snapshots (%1)</translation>
    </message>
</context>
<context>
    <name>VexoTool::InputLimitHint</name>
    <message>
        <source>A password has at most %1 characters.</source>
        <extracomment>Shown under a password field when a further character is refused</extracomment>
        <translation>A password has at most %1 characters.</translation>
    </message>
</context>
<context>
    <name>VexoTool::Journal</name>
    <message>
        <source>Activation</source>
        <translation>Activation</translation>
    </message>
    <message>
        <source>Network change</source>
        <translation>Network change</translation>
    </message>
    <message>
        <source>Batch network change</source>
        <translation>Batch network change</translation>
    </message>
    <message>
        <source>Password reset</source>
        <translation>Password reset</translation>
    </message>
    <message>
        <source>Password restore</source>
        <translation>Password restore</translation>
    </message>
    <message>
        <source>Batch key export</source>
        <translation>Batch key export</translation>
    </message>
    <message>
        <source>Batch password reset</source>
        <translation>Batch password reset</translation>
    </message>
    <message>
        <source>Address plan</source>
        <translation>Address plan</translation>
    </message>
    <message>
        <source>ONVIF network change</source>
        <translation>ONVIF network change</translation>
    </message>
    <message>
        <source>ONVIF password change</source>
        <translation>ONVIF password change</translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation>Reboot</translation>
    </message>
    <message>
        <source>Succeeded</source>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalExport</name>
    <message>
        <source>The journal cannot be read: %1</source>
        <translation>The journal cannot be read: %1</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <source>%1 entries are more than a workbook&apos;s sheet holds (%2). Choose a shorter period, or export them as CSV.</source>
        <translation>%1 entries are more than a workbook&apos;s sheet holds (%2). Choose a shorter period, or export them as CSV.</translation>
    </message>
    <message>
        <source>Journal</source>
        <extracomment>name of the journal export&apos;s sheet</extracomment>
        <translation>Journal</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalRecords</name>
    <message>
        <source>Error %1</source>
        <extracomment>the journal&apos;s explanation of a failed device call; %1 is the library&apos;s error code</extracomment>
        <translation>Error %1</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalTexts</name>
    <message>
        <source>Time</source>
        <extracomment>column names of the journal window and its exports</extracomment>
        <translation>Time</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>After</source>
        <translation>After</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Explanation</source>
        <translation>Explanation</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>gateway %1</source>
        <extracomment>part of a device&apos;s settings in the journal; %1 is an address</extracomment>
        <translation>gateway %1</translation>
    </message>
    <message>
        <source>DHCP on</source>
        <translation>DHCP on</translation>
    </message>
    <message>
        <source>DHCP off</source>
        <translation>DHCP off</translation>
    </message>
    <message>
        <source>port %1</source>
        <extracomment>part of a device&apos;s settings in the journal; %1 is the device protocol&apos;s port</extracomment>
        <translation>port %1</translation>
    </message>
    <message>
        <source>password set</source>
        <extracomment>part of a device&apos;s settings in the journal: a password was set (which one is never kept)</extracomment>
        <translation>password set</translation>
    </message>
    <message>
        <source>verified</source>
        <extracomment>a device whose maker certificate the program verified</extracomment>
        <translation>verified</translation>
    </message>
    <message>
        <source>not verified</source>
        <translation>not verified</translation>
    </message>
    <message>
        <source>not checked</source>
        <extracomment>a device whose maker certificate the program has not checked yet</extracomment>
        <translation>not checked</translation>
    </message>
    <message>
        <source>no certificate (ONVIF)</source>
        <extracomment>an ONVIF device, which has no maker certificate to verify</extracomment>
        <translation>no certificate (ONVIF)</translation>
    </message>
</context>
<context>
    <name>VexoTool::JournalWindow</name>
    <message>
        <source>Journal</source>
        <extracomment>title of the window that shows the site journal</extracomment>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Text, or address ranges: 192.168.1.0/24, 10.0.0.5-10.0.0.9</source>
        <extracomment>placeholder of the journal window&apos;s filter box</extracomment>
        <translation>Text, or address ranges: 192.168.1.0/24, 10.0.0.5-10.0.0.9</translation>
    </message>
    <message>
        <source>All operations</source>
        <extracomment>the journal window&apos;s choice of every operation</extracomment>
        <translation>All operations</translation>
    </message>
    <message>
        <source>All results</source>
        <extracomment>the journal window&apos;s choice of every result</extracomment>
        <translation>All results</translation>
    </message>
    <message>
        <source>Any time</source>
        <translation>Any time</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Last 7 days</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>Last 30 days</translation>
    </message>
    <message>
        <source>From ... until ...</source>
        <extracomment>the journal window&apos;s choice of a period between two dates the user sets</extracomment>
        <translation>From ... until ...</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Export .xls...</source>
        <translation>Export .xls…</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>Hand-over report...</source>
        <translation>Hand-over report…</translation>
    </message>
    <message>
        <source>The journal cannot be read now.</source>
        <translation>The journal cannot be read now.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <extracomment>how many journal entries pass the window&apos;s filter</extracomment>
        <translation>
            <numerusform>%n entry</numerusform>
            <numerusform>%n entries</numerusform>
        </translation>
    </message>
    <message>
        <source>Export the journal</source>
        <translation>Export the journal</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Excel files (*.xls)</source>
        <translation>Excel files (*.xls)</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>Reading the journal...</source>
        <extracomment>while the journal window counts the entries that pass its filter</extracomment>
        <translation>Reading the journal...</translation>
    </message>
</context>
<context>
    <name>VexoTool::OnvifFaultText</name>
    <message>
        <source>The device refused the user name or password. Check both and try again.</source>
        <translation>The device refused the user name or password. Check both and try again.</translation>
    </message>
    <message>
        <source>The device refused the new IPv4 address or subnet mask. Choose another address.</source>
        <translation>The device refused the new IPv4 address or subnet mask. Choose another address.</translation>
    </message>
    <message>
        <source>The device refused the gateway. Enter a gateway inside the device&apos;s subnet.</source>
        <translation>The device refused the gateway. Enter a gateway inside the device&apos;s subnet.</translation>
    </message>
    <message>
        <source>The device refused one of the values. Check the fields and try again.</source>
        <translation>The device refused one of the values. Check the fields and try again.</translation>
    </message>
    <message>
        <source>The device does not support this change. Change the setting on the device&apos;s web page.</source>
        <translation>The device does not support this change. Change the setting on the device&apos;s web page.</translation>
    </message>
    <message>
        <source>The device did not accept the network adapter named in the request. Select the device again and retry.</source>
        <translation>The device did not accept the network adapter named in the request. Select the device again and retry.</translation>
    </message>
    <message>
        <source>The device cannot be reached. Check that it is on and that this computer has an address in the device&apos;s subnet.</source>
        <translation>The device cannot be reached. Check that it is on and that this computer has an address in the device&apos;s subnet.</translation>
    </message>
    <message>
        <source>The device refused the connection: nothing answers on its HTTP port. Check the port in the list and that the device&apos;s ONVIF service is on.</source>
        <translation>The device refused the connection: nothing answers on its HTTP port. Check the port in the list and that the device&apos;s ONVIF service is on.</translation>
    </message>
    <message>
        <source>The device did not answer in time and may still apply the change. Look at its values in the list in a moment before trying again.</source>
        <translation>The device did not answer in time and may still apply the change. Look at its values in the list in a moment before trying again.</translation>
    </message>
    <message>
        <source>The device answered with HTTP error %1 instead of carrying out the request. Try again later, or make the change on the device&apos;s web page.</source>
        <extracomment>%1 is an HTTP status number such as 404 or 500</extracomment>
        <translation>The device answered with HTTP error %1 instead of carrying out the request. Try again later, or make the change on the device&apos;s web page.</translation>
    </message>
    <message>
        <source>The device&apos;s answer could not be read. Update the device&apos;s firmware or make the change on its web page.</source>
        <translation>The device&apos;s answer could not be read. Update the device&apos;s firmware or make the change on its web page.</translation>
    </message>
    <message>
        <source>The device&apos;s answer was too large to be read safely and was ignored.</source>
        <translation>The device&apos;s answer was too large to be read safely and was ignored.</translation>
    </message>
    <message>
        <source>The device accepts the password only in readable form, which anyone on the network could see. Nothing was sent. Turn on digest authentication on the device&apos;s web page.</source>
        <translation>The device accepts the password only in readable form, which anyone on the network could see. Nothing was sent. Turn on digest authentication on the device&apos;s web page.</translation>
    </message>
    <message>
        <source>The device&apos;s address lies outside the network this program may contact, so nothing was sent to it.</source>
        <translation>The device&apos;s address lies outside the network this program may contact, so nothing was sent to it.</translation>
    </message>
    <message>
        <source>The device refused the request: %1</source>
        <extracomment>%1 is the device&apos;s own explanation, in the language the device uses</extracomment>
        <translation>The device refused the request: %1</translation>
    </message>
    <message>
        <source>The device refused the request without saying why (fault %1).</source>
        <extracomment>%1 is a technical fault name such as &quot;ter:InvalidArgs&quot;</extracomment>
        <translation>The device refused the request without saying why (fault %1).</translation>
    </message>
    <message>
        <source>The device refused the request as invalid. Check the values and try again.</source>
        <translation>The device refused the request as invalid. Check the values and try again.</translation>
    </message>
    <message>
        <source>The device could not carry out the request. Try again later.</source>
        <translation>The device could not carry out the request. Try again later.</translation>
    </message>
    <message>
        <source>The device presented another certificate than the one it showed before, so nothing was sent: another computer may pose as the device. If the device was reset or got a new certificate, forget its certificate in the panel and try again.</source>
        <translation>The device presented another certificate than the one it showed before, so nothing was sent: another computer may pose as the device. If the device was reset or got a new certificate, forget its certificate in the panel and try again.</translation>
    </message>
    <message>
        <source>No secure connection to the device could be made (it needs TLS 1.2 or later). Nothing was sent.</source>
        <translation>No secure connection to the device could be made (it needs TLS 1.2 or later). Nothing was sent.</translation>
    </message>
    <message>
        <source>A device at another address claims to be this device, so nothing was sent to either. Refresh the list once the other device is gone.</source>
        <translation>A device at another address claims to be this device, so nothing was sent to either. Refresh the list once the other device is gone.</translation>
    </message>
    <message>
        <source>The device offers no HTTPS, so the new password would cross the network readable by anyone on it. Nothing was sent.</source>
        <translation>The device offers no HTTPS, so the new password would cross the network readable by anyone on it. Nothing was sent.</translation>
    </message>
    <message>
        <source>maker, model, firmware and serial number</source>
        <translation>maker, model, firmware and serial number</translation>
    </message>
    <message>
        <source>MAC address and IPv4 settings</source>
        <translation>MAC address and IPv4 settings</translation>
    </message>
    <message>
        <source>gateway</source>
        <translation>gateway</translation>
    </message>
    <message>
        <source>HTTP port</source>
        <translation>HTTP port</translation>
    </message>
    <message>
        <source>Not read: %1. %2</source>
        <extracomment>%1 lists what a device did not tell, %2 says why</extracomment>
        <translation>Not read: %1. %2</translation>
    </message>
    <message>
        <source>the gateway</source>
        <translation>the gateway</translation>
    </message>
    <message>
        <source>the IPv4 settings</source>
        <translation>the IPv4 settings</translation>
    </message>
    <message>
        <source>the HTTP port</source>
        <translation>the HTTP port</translation>
    </message>
    <message>
        <source>Applied, but not %1. %2</source>
        <extracomment>%1 lists the parts of a change the device did not apply, %2 says why</extracomment>
        <translation>Applied, but not %1. %2</translation>
    </message>
    <message>
        <source> and </source>
        <translation> and </translation>
    </message>
</context>
<context>
    <name>VexoTool::OnvifPasswordDialog</name>
    <message>
        <source>Device: %1</source>
        <translation>Device: %1</translation>
    </message>
    <message>
        <source>User Name:</source>
        <translation>User Name:</translation>
    </message>
    <message>
        <source>Current Password:</source>
        <translation>Current Password:</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>New Password:</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>Confirm Password:</translation>
    </message>
    <message>
        <source>A user name has at most %1 characters.</source>
        <translation>A user name has at most %1 characters.</translation>
    </message>
    <message>
        <source>Change Password</source>
        <extracomment>title of the dialog that changes an ONVIF device user&apos;s password</extracomment>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>Change</source>
        <extracomment>button that sends the new password to the device</extracomment>
        <translation>Change</translation>
    </message>
    <message>
        <source>Please enter the user name.</source>
        <translation>Please enter the user name.</translation>
    </message>
    <message>
        <source>Please enter the current password.</source>
        <translation>Please enter the current password.</translation>
    </message>
    <message>
        <source>The password cannot be empty.</source>
        <translation>The password cannot be empty.</translation>
    </message>
    <message>
        <source>The two passwords do not match.</source>
        <translation>The two passwords do not match.</translation>
    </message>
    <message>
        <source>Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case letters, upper-case letters and special characters.</source>
        <translation>Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case letters, upper-case letters and special characters.</translation>
    </message>
    <message>
        <source>Not changed: this program cannot change ONVIF devices yet.</source>
        <translation>Not changed: this program cannot change ONVIF devices yet.</translation>
    </message>
    <message>
        <source>The password was changed.</source>
        <translation>The password was changed.</translation>
    </message>
    <message>
        <source>The password was not changed: %1</source>
        <translation>The password was not changed: %1</translation>
    </message>
    <message>
        <source>Password in clear text</source>
        <translation>Password in clear text</translation>
    </message>
    <message>
        <source>The ONVIF device %1 offers no HTTPS. The new password would cross the network readable by anyone on it. Send it anyway?</source>
        <extracomment>%1 names the device: serial number or endpoint, and its address</extracomment>
        <translation>The ONVIF device %1 offers no HTTPS. The new password would cross the network readable by anyone on it. Send it anyway?</translation>
    </message>
    <message>
        <source>Send</source>
        <extracomment>button: send the new password to a device without HTTPS</extracomment>
        <translation>Send</translation>
    </message>
    <message>
        <source>No</source>
        <extracomment>button: do not send the new password</extracomment>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>VexoTool::OnvifSignInDialog</name>
    <message>
        <source>ONVIF Sign-In</source>
        <extracomment>title of the dialog asking for the user name and password of the ONVIF devices</extracomment>
        <translation>ONVIF Sign-In</translation>
    </message>
    <message>
        <source>Sign In</source>
        <extracomment>button that identifies the ONVIF devices with the typed user name and password</extracomment>
        <translation>Sign In</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The program reads the serial number, MAC address and network settings of the ONVIF devices with this user name and password. They are kept only until the program ends.</source>
        <translation>The program reads the serial number, MAC address and network settings of the ONVIF devices with this user name and password. They are kept only until the program ends.</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
</context>
<context>
    <name>VexoTool::PanelState</name>
    <message>
        <source>Wait until the running operation has ended.</source>
        <extracomment>Tool tip of a panel button that is disabled while a change or an activation runs</extracomment>
        <translation>Wait until the running operation has ended.</translation>
    </message>
    <message>
        <source>Tick a device in the list first.</source>
        <extracomment>Tool tip of the panel&apos;s disabled controls while no device is ticked</extracomment>
        <translation>Tick a device in the list first.</translation>
    </message>
    <message numerus="yes">
        <source>%n device(s) ticked</source>
        <extracomment>In the panel while batch operations are on</extracomment>
        <translation>
            <numerusform>%n device ticked</numerusform>
            <numerusform>%n devices ticked</numerusform>
        </translation>
    </message>
    <message>
        <source>Not activated: %1</source>
        <extracomment>In the panel when activated and not activated devices are ticked together; %1 lists the latter</extracomment>
        <translation>Not activated: %1</translation>
    </message>
    <message>
        <source>Activation uses the device protocol, which ONVIF devices do not answer. Set the first password on the device&apos;s web page.</source>
        <translation>Activation uses the device protocol, which ONVIF devices do not answer. Set the first password on the device&apos;s web page.</translation>
    </message>
    <message>
        <source>Password recovery uses the device protocol, which ONVIF devices do not answer. Reset the password on the device or with its maker&apos;s tool.</source>
        <translation>Password recovery uses the device protocol, which ONVIF devices do not answer. Reset the password on the device or with its maker&apos;s tool.</translation>
    </message>
    <message>
        <source>No network adapter of this computer is in the device&apos;s subnet. Tick &quot;Try the change anyway&quot; to send the change all the same.</source>
        <translation>No network adapter of this computer is in the device&apos;s subnet. Tick &quot;Try the change anyway&quot; to send the change all the same.</translation>
    </message>
    <message>
        <source>ONVIF devices have no device port.</source>
        <extracomment>Tool tip of the disabled Port field</extracomment>
        <translation>ONVIF devices have no device port.</translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <extracomment>A list of devices cut short: %1 the first names, %n how many are left out</extracomment>
        <translation>
            <numerusform>%1 and %n more</numerusform>
            <numerusform>%1 and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked device(s) without a valid maker certificate: no password is sent to them until they show one.</source>
        <extracomment>In the panel: ticked devices whose announcements carry no valid maker certificate</extracomment>
        <translation>
            <numerusform>%n ticked device without a valid maker certificate: no password is sent to it until it shows one.</numerusform>
            <numerusform>%n ticked devices without a valid maker certificate: no password is sent to them until they show one.</numerusform>
        </translation>
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
    <name>VexoTool::PlanApplier</name>
    <message>
        <source>Not sent: %1</source>
        <translation>Not sent: %1</translation>
    </message>
    <message>
        <source>Not sent: cancelled.</source>
        <translation>Not sent: cancelled.</translation>
    </message>
    <message>
        <source>Activated; network parameters not changed: %1</source>
        <translation>Activated; network parameters not changed: %1</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanDialog</name>
    <message>
        <source>Apply Plan</source>
        <extracomment>Title of the dialog that applies an address plan file to the listed devices</extracomment>
        <translation>Apply Plan</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Plan file:</source>
        <translation>Plan file:</translation>
    </message>
    <message>
        <source>CSV or tab-separated file: serial or MAC, ipv4, mask, gateway, ...</source>
        <translation>CSV or tab-separated file: serial or MAC, ipv4, mask, gateway, …</translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>Changes or reason</source>
        <translation>Changes or reason</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Admin password:</source>
        <extracomment>The password that proves the changes to devices that are already activated</extracomment>
        <translation>Admin password:</translation>
    </message>
    <message>
        <source>for devices that are already activated</source>
        <translation>for devices that are already activated</translation>
    </message>
    <message>
        <source>Choose a plan file</source>
        <translation>Choose a plan file</translation>
    </message>
    <message>
        <source>Plan files (*.csv *.tsv *.txt);;All files (*)</source>
        <translation>Plan files (*.csv *.tsv *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>The plan cannot be used:</source>
        <translation>The plan cannot be used:</translation>
    </message>
    <message>
        <source>%1 of %2 rows will be applied, %3 unchanged, %4 refused.</source>
        <translation>%1 of %2 rows will be applied, %3 unchanged, %4 refused.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Report saved: %1 and %2</source>
        <translation>Report saved: %1 and %2</translation>
    </message>
    <message>
        <source>Applied: %1 succeeded, %2 failed, %3 not sent.</source>
        <translation>Applied: %1 succeeded, %2 failed, %3 not sent.</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanFile</name>
    <message>
        <source>Text after the closing quote of a quoted field.</source>
        <translation>Text after the closing quote of a quoted field.</translation>
    </message>
    <message>
        <source>A quoted field is not closed.</source>
        <translation>A quoted field is not closed.</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>Line %1, column %2: %3</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>The plan file cannot be opened: %1</source>
        <translation>The plan file cannot be opened: %1</translation>
    </message>
    <message>
        <source>The plan file is larger than %1 MB.</source>
        <translation>The plan file is larger than %1 MB.</translation>
    </message>
    <message>
        <source>This is not a text file in UTF-8: the plan must be CSV or tab-separated text.</source>
        <translation>This is not a text file in UTF-8: the plan must be CSV or tab-separated text.</translation>
    </message>
    <message>
        <source>The plan file is empty.</source>
        <translation>The plan file is empty.</translation>
    </message>
    <message>
        <source>The first row names no column: a plan starts with a header row such as &quot;serial,ipv4,mask,gateway&quot;.</source>
        <translation>The first row names no column: a plan starts with a header row such as &quot;serial,ipv4,mask,gateway&quot;.</translation>
    </message>
    <message>
        <source>Unknown column &quot;%1&quot;.</source>
        <translation>Unknown column &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Column &quot;%1&quot; repeats column %2.</source>
        <translation>Column &quot;%1&quot; repeats column %2.</translation>
    </message>
    <message>
        <source>The plan needs a serial number or a MAC column to tell the devices apart.</source>
        <translation>The plan needs a serial number or a MAC column to tell the devices apart.</translation>
    </message>
    <message>
        <source>The row has %1 fields, the header names %2 columns.</source>
        <translation>The row has %1 fields, the header names %2 columns.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a serial number.</source>
        <translation>&quot;%1&quot; is not a serial number.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>&quot;%1&quot; is not a MAC address.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid IPv4 address.</source>
        <translation>&quot;%1&quot; is not a valid IPv4 address.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid subnet mask.</source>
        <translation>&quot;%1&quot; is not a valid subnet mask.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid gateway.</source>
        <translation>&quot;%1&quot; is not a valid gateway.</translation>
    </message>
    <message>
        <source>Device port ranges from 2000 to 65535.</source>
        <translation>Device port ranges from 2000 to 65535.</translation>
    </message>
    <message>
        <source>Http port ranges from 1 to 65535.</source>
        <translation>Http port ranges from 1 to 65535.</translation>
    </message>
    <message>
        <source>DHCP is &quot;on&quot; or &quot;off&quot;, not &quot;%1&quot;.</source>
        <translation>DHCP is &quot;on&quot; or &quot;off&quot;, not &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The password is longer than %1 characters.</source>
        <translation>The password is longer than %1 characters.</translation>
    </message>
    <message>
        <source>The row names no device: give its serial number or MAC.</source>
        <translation>The row names no device: give its serial number or MAC.</translation>
    </message>
    <message>
        <source>The device is already planned in line %1.</source>
        <translation>The device is already planned in line %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n more problem(s) not listed.</source>
        <translation>
            <numerusform>%n more problem not listed.</numerusform>
            <numerusform>%n more problems not listed.</numerusform>
        </translation>
    </message>
    <message>
        <source>The plan names no device.</source>
        <translation>The plan names no device.</translation>
    </message>
    <message>
        <source>The row has more than %1 fields.</source>
        <translation>The row has more than %1 fields.</translation>
    </message>
    <message>
        <source>The plan has more than %1 rows.</source>
        <translation>The plan has more than %1 rows.</translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanPreview</name>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>Will change</source>
        <translation>Will change</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>Device not listed</source>
        <translation>Device not listed</translation>
    </message>
    <message>
        <source>Device unverified</source>
        <translation>Device unverified</translation>
    </message>
    <message>
        <source>Password missing</source>
        <translation>Password missing</translation>
    </message>
    <message>
        <source>Password too weak</source>
        <translation>Password too weak</translation>
    </message>
    <message>
        <source>Address in use</source>
        <translation>Address in use</translation>
    </message>
    <message>
        <source>Invalid network settings</source>
        <translation>Invalid network settings</translation>
    </message>
    <message>
        <source>DHCP not supported</source>
        <translation>DHCP not supported</translation>
    </message>
    <message>
        <source>DHCP on</source>
        <translation>DHCP on</translation>
    </message>
    <message>
        <source>No listed device has this serial number or MAC.</source>
        <translation>No listed device has this serial number or MAC.</translation>
    </message>
    <message>
        <source>IPv4 Address</source>
        <translation>IPv4 Address</translation>
    </message>
    <message>
        <source>Subnet Mask</source>
        <translation>Subnet Mask</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>HTTP Port</source>
        <translation>HTTP Port</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Activate</source>
        <translation>Activate</translation>
    </message>
    <message>
        <source>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</source>
        <translation>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</translation>
    </message>
    <message>
        <source>The device is not activated yet and the plan gives no password for it.</source>
        <translation>The device is not activated yet and the plan gives no password for it.</translation>
    </message>
    <message>
        <source>The plan&apos;s password is too weak: use 8 to 16 characters of at least two kinds (digits, lower-case, upper-case letters, symbols).</source>
        <translation>The plan&apos;s password is too weak: use 8 to 16 characters of at least two kinds (digits, lower-case, upper-case letters, symbols).</translation>
    </message>
    <message>
        <source>The device does not support DHCP.</source>
        <translation>The device does not support DHCP.</translation>
    </message>
    <message>
        <source>The device uses DHCP, so a static IPv4 address would not be used: set DHCP to &quot;off&quot; in the plan.</source>
        <translation>The device uses DHCP, so a static IPv4 address would not be used: set DHCP to &quot;off&quot; in the plan.</translation>
    </message>
    <message>
        <source>The plan gives %1 to more than one device.</source>
        <translation>The plan gives %1 to more than one device.</translation>
    </message>
    <message>
        <source>%1 is used by device %2.</source>
        <translation>%1 is used by device %2.</translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <extracomment>one change of a device in a plan: what, its value now, its value after the plan</extracomment>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>; </source>
        <extracomment>between the changes of one device in a plan</extracomment>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>VexoTool::PlanReport</name>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>Old IPv4 Address</source>
        <translation>Old IPv4 Address</translation>
    </message>
    <message>
        <source>New IPv4 Address</source>
        <translation>New IPv4 Address</translation>
    </message>
    <message>
        <source>Old Subnet Mask</source>
        <translation>Old Subnet Mask</translation>
    </message>
    <message>
        <source>New Subnet Mask</source>
        <translation>New Subnet Mask</translation>
    </message>
    <message>
        <source>Old Gateway</source>
        <translation>Old Gateway</translation>
    </message>
    <message>
        <source>New Gateway</source>
        <translation>New Gateway</translation>
    </message>
    <message>
        <source>Old Port</source>
        <translation>Old Port</translation>
    </message>
    <message>
        <source>New Port</source>
        <translation>New Port</translation>
    </message>
    <message>
        <source>Old HTTP Port</source>
        <translation>Old HTTP Port</translation>
    </message>
    <message>
        <source>New HTTP Port</source>
        <translation>New HTTP Port</translation>
    </message>
    <message>
        <source>Old DHCP</source>
        <translation>Old DHCP</translation>
    </message>
    <message>
        <source>New DHCP</source>
        <translation>New DHCP</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>The report %1 cannot be written: %2</source>
        <translation>The report %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
</context>
<context>
    <name>VexoTool::ResetPasswordDialog</name>
    <message>
        <source>Reset Password</source>
        <translation>Reset Password</translation>
    </message>
    <message>
        <source>请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。</source>
        <translation>In the messaging app, follow the official account “Marlox Customer Service”, open “Care Service” – “Password Reset” and scan the QR code on the right.</translation>
    </message>
    <message>
        <source>请导入由“密码重置”生成的密钥文件，并重置密码（若是字符则手动输入，若是XML文件则文件导入）。</source>
        <translation>Enter the reset key that “Password Reset” generated and reset the password (type the key in if it is text, import the file if it is an XML file).</translation>
    </message>
    <message>
        <source>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</source>
        <translation>If this fails, restart the device and this program, then repeat steps 1 and 2.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>QR code</source>
        <translation>QR code</translation>
    </message>
    <message>
        <source>ManualInput</source>
        <translation>Type In</translation>
    </message>
    <message>
        <source>AutoInput</source>
        <translation>Import File</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>New Password:</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>Confirm Password:</translation>
    </message>
    <message>
        <source>Reset IPC</source>
        <translation>Also reset the connected cameras</translation>
    </message>
    <message>
        <source>Generate QR code error.</source>
        <translation>The QR code could not be made.</translation>
    </message>
    <message>
        <source>Get key error.</source>
        <translation>The device key could not be read.</translation>
    </message>
    <message>
        <source>Exported.</source>
        <translation>Exported.</translation>
    </message>
    <message>
        <source>Create device key file error.</source>
        <translation>The device key file could not be created.</translation>
    </message>
    <message>
        <source>Please input the secret key.</source>
        <translation>Please enter the reset key.</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>The password cannot be empty.</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>The two passwords do not match.</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case letters, upper-case letters and special characters.</translation>
    </message>
    <message>
        <source>Reset password Succeed.</source>
        <translation>The password was reset.</translation>
    </message>
    <message>
        <source>Reset password failed.</source>
        <translation>The password could not be reset.</translation>
    </message>
</context>
<context>
    <name>VexoTool::ResetPasswordWidget</name>
    <message>
        <source>Config Reset Password</source>
        <translation>Batch Password Reset</translation>
    </message>
    <message>
        <source>New Password:</source>
        <translation>New Password:</translation>
    </message>
    <message>
        <source>Confirm Password:</source>
        <translation>Confirm Password:</translation>
    </message>
    <message>
        <source>Key Folder:</source>
        <extracomment>Label of the folder that holds the devices&apos; reset files.</extracomment>
        <translation>Key Folder:</translation>
    </message>
    <message>
        <source>Please input the secret key.</source>
        <translation>Please choose the folder of the reset keys.</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>The password cannot be empty.</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>The two passwords do not match.</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case letters, upper-case letters and special characters.</translation>
    </message>
</context>
<context>
    <name>VexoTool::RestorePasswordDialog</name>
    <message>
        <source>Reset Default Password</source>
        <translation>Restore Default Password</translation>
    </message>
    <message>
        <source>请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。</source>
        <translation>In the messaging app, follow the official account “Marlox Customer Service”, open “Care Service” – “Password Reset” and scan the QR code on the right.</translation>
    </message>
    <message>
        <source>在“安全码”处输入“密码重置”生成的安全码，恢复的缺省密码是70639。</source>
        <translation>Enter the security code generated by “Password Reset” under “Security Code”; the restored default password is 70639.</translation>
    </message>
    <message>
        <source>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</source>
        <translation>If this fails, restart the device and this program, then repeat steps 1 and 2.</translation>
    </message>
    <message>
        <source>Security Code:</source>
        <translation>Security Code:</translation>
    </message>
    <message>
        <source>Please input security code.</source>
        <translation>Please enter the security code.</translation>
    </message>
    <message>
        <source>Restore password succeed.</source>
        <translation>The default password was restored.</translation>
    </message>
    <message>
        <source>Restore password failed.</source>
        <translation>The default password could not be restored.</translation>
    </message>
    <message>
        <source>The device&apos;s password is now %1. Sign in with it and set a new one.</source>
        <translation>The device&apos;s password is now %1. Sign in with it and set a new one.</translation>
    </message>
</context>
<context>
    <name>VexoTool::SnapshotPanel</name>
    <message>
        <source>Click to see it larger</source>
        <extracomment>tool tip of the camera&apos;s snapshot in the panel</extracomment>
        <translation>Click to see it larger</translation>
    </message>
    <message>
        <source>Refresh</source>
        <extracomment>button that takes a new snapshot of the camera shown in the panel</extracomment>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Save Snapshot...</source>
        <translation>Save Snapshot…</translation>
    </message>
    <message>
        <source>Taking a snapshot...</source>
        <translation>Taking a snapshot…</translation>
    </message>
    <message>
        <source>Taken at %1 in %2 ms</source>
        <extracomment>when the snapshot in the panel was taken, and how long it took</extracomment>
        <translation>Taken at %1 in %2 ms</translation>
    </message>
    <message>
        <source>Snapshot of %1</source>
        <extracomment>title of the dialog that shows a camera&apos;s snapshot larger</extracomment>
        <translation>Snapshot of %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>JPEG image (*.jpg *.jpeg)</source>
        <translation>JPEG image (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>Save Snapshot</source>
        <translation>Save Snapshot</translation>
    </message>
    <message>
        <source>The snapshot could not be saved: %1</source>
        <translation>The snapshot could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>VexoTool::SnapshotTexts</name>
    <message>
        <source>No snapshot: not signed in to this camera.</source>
        <translation>No snapshot: not signed in to this camera.</translation>
    </message>
    <message>
        <source>No snapshot: the camera has no media service.</source>
        <translation>No snapshot: the camera has no media service.</translation>
    </message>
    <message>
        <source>No snapshot: no media profile of the camera has video.</source>
        <translation>No snapshot: no media profile of the camera has video.</translation>
    </message>
    <message>
        <source>No snapshot: the camera refused it.</source>
        <translation>No snapshot: the camera refused it.</translation>
    </message>
    <message>
        <source>No snapshot: the image is too large.</source>
        <translation>No snapshot: the image is too large.</translation>
    </message>
    <message>
        <source>No snapshot: the camera sent something that is not an image.</source>
        <translation>No snapshot: the camera sent something that is not an image.</translation>
    </message>
    <message>
        <source>No snapshot: the camera did not answer in time.</source>
        <translation>No snapshot: the camera did not answer in time.</translation>
    </message>
    <message>
        <source>No snapshot: the camera cannot be reached.</source>
        <translation>No snapshot: the camera cannot be reached.</translation>
    </message>
</context>
<context>
    <name>VexoTool::SubnetReach</name>
    <message>
        <source>This computer has no network adapter with an IPv4 address, so the device at %1 cannot be reached. Connect the computer to the device&apos;s network and give the adapter an address in %2.</source>
        <translation>This computer has no network adapter with an IPv4 address, so the device at %1 cannot be reached. Connect the computer to the device&apos;s network and give the adapter an address in %2.</translation>
    </message>
    <message>
        <source>The device at %1 is outside the subnets of this computer&apos;s network adapters, so a change would not reach it. Add an address in %2 to the network adapter &quot;%3&quot; (one that no other device uses), or connect the computer to the device&apos;s network, then select the device again.</source>
        <extracomment>%1 is the device&apos;s address, %2 its subnet such as 10.1.2.0/24, %3 an adapter name such as eth0</extracomment>
        <translation>The device at %1 is outside the subnets of this computer&apos;s network adapters, so a change would not reach it. Add an address in %2 to the network adapter &quot;%3&quot; (one that no other device uses), or connect the computer to the device&apos;s network, then select the device again.</translation>
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
        <translation>Exit VEXO Tool?</translation>
    </message>
    <message>
        <source>Batch operations</source>
        <extracomment>Menu entry that lets the device list check several devices at once</extracomment>
        <translation>Batch operations</translation>
    </message>
    <message>
        <source>Apply plan...</source>
        <extracomment>Menu entry that opens the dialog applying an address plan file to the listed devices</extracomment>
        <translation>Apply plan…</translation>
    </message>
    <message>
        <source>Language</source>
        <extracomment>Title bar menu entry that opens the list of languages of the program</extracomment>
        <translation>Language</translation>
    </message>
    <message>
        <source>English</source>
        <extracomment>The English language, written in English in every language</extracomment>
        <translation>English</translation>
    </message>
    <message>
        <source>简体中文</source>
        <extracomment>The Simplified Chinese language, written in Chinese in every language</extracomment>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>The new language applies when VEXO Tool starts again.</source>
        <extracomment>Shown after the user picks another language; the same sentence in the chosen language follows</extracomment>
        <translation>The new language applies when VEXO Tool starts again.</translation>
    </message>
    <message>
        <source>ONVIF Sign-In...</source>
        <extracomment>Menu entry that asks for the user name and password with which the ONVIF devices are identified</extracomment>
        <translation>ONVIF Sign-In…</translation>
    </message>
    <message>
        <source>Password in clear text</source>
        <translation>Password in clear text</translation>
    </message>
    <message>
        <source>The ONVIF device %1 accepts the password only in clear text, which anyone on the network can read. Send it the password anyway?</source>
        <translation>The ONVIF device %1 accepts the password only in clear text, which anyone on the network can read. Send it the password anyway?</translation>
    </message>
    <message>
        <source>Send</source>
        <extracomment>button: send the password to the device that accepts it only in clear text</extracomment>
        <translation>Send</translation>
    </message>
    <message>
        <source>Skip</source>
        <extracomment>button: do not send the password to the device that accepts it only in clear text</extracomment>
        <translation>Skip</translation>
    </message>
    <message>
        <source>The language could not be kept for the next start: %1 cannot be written.</source>
        <translation>The language could not be kept for the next start: %1 cannot be written.</translation>
    </message>
    <message>
        <source>Your settings apply until VEXO Tool closes but cannot be kept for the next start: %1 cannot be written.</source>
        <translation>Your settings apply until VEXO Tool closes but cannot be kept for the next start: %1 cannot be written.</translation>
    </message>
    <message>
        <source>Snapshot view</source>
        <extracomment>Menu entry that shows the cameras&apos; snapshots beside the list&apos;s rows</extracomment>
        <translation>Snapshot view</translation>
    </message>
    <message>
        <source>No ONVIF device is listed to sign in to.</source>
        <extracomment>the summary after &quot;ONVIF Sign-In&quot; when no ONVIF device is listed</extracomment>
        <translation>No ONVIF device is listed to sign in to.</translation>
    </message>
    <message numerus="yes">
        <source>%n identified</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: how many devices were identified</extracomment>
        <translation>
            <numerusform>%n identified</numerusform>
            <numerusform>%n identified</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n refused the user name or password</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: how many devices refused the credentials</extracomment>
        <translation>
            <numerusform>%n refused the user name or password</numerusform>
            <numerusform>%n refused the user name or password</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n did not answer</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: how many devices did not answer</extracomment>
        <translation>
            <numerusform>%n did not answer</numerusform>
            <numerusform>%n did not answer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n failed for another reason</source>
        <extracomment>part of the summary after &quot;ONVIF Sign-In&quot;: devices that failed for another reason (in the list)</extracomment>
        <translation>
            <numerusform>%n failed for another reason</numerusform>
            <numerusform>%n failed for another reason</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>separates the parts of the summary after &quot;ONVIF Sign-In&quot;</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <source>Journal...</source>
        <extracomment>Menu entry that opens the window of the site journal</extracomment>
        <translation>Journal…</translation>
    </message>
    <message>
        <source>Hand-over report...</source>
        <extracomment>Menu entry that writes the hand-over report (devices, changes, open failures) of the site</extracomment>
        <translation>Hand-over report…</translation>
    </message>
    <message>
        <source>Journal</source>
        <extracomment>title of the message that the site journal cannot be written for now</extracomment>
        <translation>Journal</translation>
    </message>
    <message>
        <source>The journal cannot be written for now (%1). Your changes are kept and written to it once it can be; your work goes on.</source>
        <translation>The journal cannot be written for now (%1). Your changes are kept and written to it once it can be; your work goes on.</translation>
    </message>
    <message>
        <source>ONVIF sign-in: %1</source>
        <translation>ONVIF sign-in: %1</translation>
    </message>
    <message>
        <source>ONVIF sign-in: %1 of %2 devices answered</source>
        <extracomment>the count line while an ONVIF sign-in runs: %1 of %2 devices have answered it</extracomment>
        <translation>ONVIF sign-in: %1 of %2 devices answered</translation>
    </message>
    <message>
        <source>ONVIF sign-in...</source>
        <extracomment>the count line right after an ONVIF sign-in started</extracomment>
        <translation>ONVIF sign-in...</translation>
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
        <translation>VEXO Tool</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>VEXO is already running.</source>
        <translation>VEXO Tool is already running.</translation>
    </message>
    <message>
        <source>Display resolution less than 1024*768,are you sure to start the program?</source>
        <translation>The screen is smaller than 1024 × 768. Start the program anyway?</translation>
    </message>
</context>
<context>
    <name>aptui::CDlgAbout</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Name: </source>
        <translation>Name: </translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source> v%1</source>
        <extracomment>%1 is the program&apos;s version</extracomment>
        <translation> v%1</translation>
    </message>
</context>
<context>
    <name>aptui::LinkMessageBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>aptui::PinButton</name>
    <message>
        <source>Show the panel</source>
        <translation>Show the panel</translation>
    </message>
    <message>
        <source>Hide the panel</source>
        <translation>Hide the panel</translation>
    </message>
    <message>
        <source>Show the panel (%1)</source>
        <extracomment>%1 is the key that does the same, such as Ctrl+P</extracomment>
        <translation>Show the panel (%1)</translation>
    </message>
    <message>
        <source>Hide the panel (%1)</source>
        <extracomment>%1 is the key that does the same, such as Ctrl+P</extracomment>
        <translation>Hide the panel (%1)</translation>
    </message>
</context>
</TS>

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
    <name>VexoTool::BatchRecovery</name>
    <message>
        <source>Loading...</source>
        <translation>Loading...</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>Part failed.Please check&quot;out_error&quot; file</source>
        <translation>Part failed.Please check&quot;out_error&quot; file</translation>
    </message>
    <message>
        <source>Exported</source>
        <translation>Exported</translation>
    </message>
    <message>
        <source>Part failed.Please check&quot;in_error&quot; or &quot;mismatch&quot; file</source>
        <translation>Part failed.Please check&quot;in_error&quot; or &quot;mismatch&quot; file</translation>
    </message>
    <message>
        <source>Successed</source>
        <translation>Successed</translation>
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
        <translation>The network parameters can be modified after the device is activated</translation>
    </message>
    <message>
        <source>Active now</source>
        <translation>Active now</translation>
    </message>
    <message>
        <source>Device active</source>
        <translation>Device active</translation>
    </message>
    <message>
        <source>Batch devices active</source>
        <translation>Batch devices active</translation>
    </message>
    <message>
        <source>Batch devices network parameters</source>
        <translation>Batch devices network parameters</translation>
    </message>
    <message>
        <source>Sorry,the devices you have chosen has not activated devices</source>
        <translation>Sorry,the devices you have chosen has not activated devices</translation>
    </message>
    <message>
        <source>Note: please activate</source>
        <translation>Note: please activate </translation>
    </message>
    <message>
        <source>the device</source>
        <translation>the device</translation>
    </message>
    <message>
        <source>to perform other operations</source>
        <translation> to perform other operations</translation>
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
    <message>
        <source>No device answers: check the cable and the firewall.</source>
        <translation>No device answers: check the cable and the firewall.</translation>
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
    <message>
        <source>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</source>
        <translation>This device has no valid maker certificate: it may be an impostor, and no password is sent to it.</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyPage</name>
    <message>
        <source>Succeed</source>
        <translation>Succeed</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Active</translation>
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
        <translation>Forget Password</translation>
    </message>
    <message>
        <source>Admin Password:</source>
        <translation>Admin Password:</translation>
    </message>
    <message>
        <source>Sorry, please select the equipment.</source>
        <translation>Sorry, please select the equipment.</translation>
    </message>
    <message>
        <source>Sorry, please enter the administrator password.</source>
        <translation>Sorry, please enter the administrator password.</translation>
    </message>
    <message>
        <source>Modify network parameters succeed.</source>
        <translation>Modify network parameters succeed.</translation>
    </message>
    <message>
        <source>Device deny.</source>
        <translation>Device deny.</translation>
    </message>
    <message>
        <source>Time out.</source>
        <translation>Time out.</translation>
    </message>
    <message>
        <source>Error%1:others</source>
        <translation>Error%1:others</translation>
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
        <translation>Modifying device %1 of %2 ...</translation>
    </message>
    <message>
        <source>Error%1:device deny</source>
        <translation>Error%1:device deny</translation>
    </message>
    <message>
        <source>Error%1:time out</source>
        <translation>Error%1:time out</translation>
    </message>
    <message>
        <source>Please select a device.</source>
        <translation>Please select a device.</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>The password can not be empty.</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>The password you typed do not match.</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers,lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>Valid password range [8-16]. You can use a combination of numbers,lowercase, uppercase and special character for your password with at least two kinds of them contained.</translation>
    </message>
    <message>
        <source>Activate Succeed.</source>
        <translation>Activate Succeed.</translation>
    </message>
    <message>
        <source>Activating device %1 of %2 ...</source>
        <translation>Activating device %1 of %2 ...</translation>
    </message>
    <message>
        <source>Error%1:Device deny.</source>
        <translation>Error%1:Device deny.</translation>
    </message>
    <message>
        <source>Error%1:reactive</source>
        <translation>Error%1:reactive</translation>
    </message>
    <message>
        <source>VEXO Tool</source>
        <translation>VEXO Tool</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Activation</translation>
    </message>
    <message>
        <source>Batch activate devices</source>
        <translation>Batch activate devices</translation>
    </message>
    <message>
        <source>Activate fail numbers</source>
        <translation>Activate fail numbers</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceModifyResultPage</name>
    <message>
        <source>Confirmation List</source>
        <translation>Confirmation List</translation>
    </message>
    <message>
        <source>Devices Number:</source>
        <translation>Devices Number:</translation>
    </message>
    <message>
        <source>Failed Number:</source>
        <translation>Failed Number:</translation>
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
        <source>IPv4 Address</source>
        <translation>IPv4 Address</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>Modification</source>
        <translation>Modification</translation>
    </message>
</context>
<context>
    <name>VexoTool::DeviceNetParaPage</name>
    <message>
        <source>Inport DevciePara</source>
        <translation>Inport DevciePara</translation>
    </message>
    <message>
        <source>Enable DHCP</source>
        <translation>Enable DHCP</translation>
    </message>
    <message>
        <source>StartIp:</source>
        <translation>StartIp:</translation>
    </message>
    <message>
        <source>Please set the start Ip address,then add one</source>
        <translation>Please set the start Ip address,then add one</translation>
    </message>
    <message>
        <source>Device Serial:</source>
        <translation>Device Serial:</translation>
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
        <translation>Http Port:</translation>
    </message>
    <message>
        <source>Security Verification</source>
        <translation>Security Verification</translation>
    </message>
    <message>
        <source>Modify Network parameters</source>
        <translation>Modify Network parameters</translation>
    </message>
    <message>
        <source>Batch Modify Network parameters</source>
        <translation>Batch Modify Network parameters</translation>
    </message>
    <message>
        <source>Please input IP Address.</source>
        <translation>Please input IP Address.</translation>
    </message>
    <message>
        <source>IP Address not correct.</source>
        <translation>IP Address not correct.</translation>
    </message>
    <message>
        <source>Device port ranges from 2000 to 65535.</source>
        <translation>Device port ranges from 2000 to 65535.</translation>
    </message>
    <message>
        <source>Subnet mask can not be empty.</source>
        <translation>Subnet mask can not be empty.</translation>
    </message>
    <message>
        <source>Subnet Mask not correct.</source>
        <translation>Subnet Mask not correct.</translation>
    </message>
    <message>
        <source>Gateway can not be empty</source>
        <translation>Gateway can not be empty</translation>
    </message>
    <message>
        <source>Gateway not correct.</source>
        <translation>Gateway not correct.</translation>
    </message>
    <message>
        <source>Http port ranges from 1 to 65535.</source>
        <translation>Http port ranges from 1 to 65535.</translation>
    </message>
    <message>
        <source>IPv6 Address not correct.</source>
        <translation>IPv6 Address not correct.</translation>
    </message>
    <message>
        <source>IPv6 gateway not correct.</source>
        <translation>IPv6 gateway not correct.</translation>
    </message>
    <message>
        <source>IPv6 prefix length ranges from 0 to 127.</source>
        <translation>IPv6 prefix length ranges from 0 to 127.</translation>
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
        <translation>File path:</translation>
    </message>
    <message>
        <source>Please input file name.</source>
        <translation>Please input file name.</translation>
    </message>
    <message>
        <source>Please input file path.</source>
        <translation>Please input file path.</translation>
    </message>
    <message>
        <source>The file name has been used, please change it</source>
        <translation>The file name has been used, please change it</translation>
    </message>
    <message>
        <source>Saving succeed.</source>
        <translation>Saving succeed.</translation>
    </message>
    <message>
        <source>Saving failed.</source>
        <translation>Saving failed.</translation>
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
        <translation>Import what “Password Reset” generated and reset the password (type it in if it is a key text, import it if it is an XML file).</translation>
    </message>
    <message>
        <source>如果恢复失败，请重启设备和软件后重新执行步骤1和2。</source>
        <translation>If the recovery fails, restart the device and this program, then repeat steps 1 and 2.</translation>
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
        <translation>ManualInput</translation>
    </message>
    <message>
        <source>AutoInput</source>
        <translation>AutoInput</translation>
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
        <translation>Reset IPC</translation>
    </message>
    <message>
        <source>Generate QR code error.</source>
        <translation>Generate QR code error.</translation>
    </message>
    <message>
        <source>Get key error.</source>
        <translation>Get key error.</translation>
    </message>
    <message>
        <source>Exported.</source>
        <translation>Exported.</translation>
    </message>
    <message>
        <source>Create device key file error.</source>
        <translation>Create device key file error.</translation>
    </message>
    <message>
        <source>Please input the secret key.</source>
        <translation>Please input the secret key.</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>The password can not be empty.</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>The password you typed do not match.</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</translation>
    </message>
    <message>
        <source>Reset password Succeed.</source>
        <translation>Reset password Succeed.</translation>
    </message>
    <message>
        <source>Reset password failed.</source>
        <translation>Reset password failed.</translation>
    </message>
</context>
<context>
    <name>VexoTool::ResetPasswordWidget</name>
    <message>
        <source>Config Reset Password</source>
        <translation>Config Reset Password</translation>
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
        <translation>Please input the secret key.</translation>
    </message>
    <message>
        <source>The password can not be empty.</source>
        <translation>The password can not be empty.</translation>
    </message>
    <message>
        <source>The password you typed do not match.</source>
        <translation>The password you typed do not match.</translation>
    </message>
    <message>
        <source>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</source>
        <translation>Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character for your password with at least two kinds of them contained.</translation>
    </message>
</context>
<context>
    <name>VexoTool::RestorePasswordDialog</name>
    <message>
        <source>Reset Default Password</source>
        <translation>Reset Default Password</translation>
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
        <translation>If the recovery fails, restart the device and this program, then repeat steps 1 and 2.</translation>
    </message>
    <message>
        <source>Security Code:</source>
        <translation>Security Code:</translation>
    </message>
    <message>
        <source>Please input security code.</source>
        <translation>Please input security code.</translation>
    </message>
    <message>
        <source>Restore password succeed.</source>
        <translation>Restore password succeed.</translation>
    </message>
    <message>
        <source>Restore password failed.</source>
        <translation>Restore password failed.</translation>
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
    <message>
        <source>Batch operations</source>
        <extracomment>Menu entry that lets the device list check several devices at once</extracomment>
        <translation>Batch operations</translation>
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

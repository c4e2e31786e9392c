<!--#include file="..\包含.asp"-->
<%
' 第二页：再次包含同一个文件
Function ShowSecond()
	Response.Write SITE_NAME
End Function

%>

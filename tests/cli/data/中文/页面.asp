<!--#include file="包含.asp"-->
<!--#include file="子\二.asp"-->
<%
Dim strTitle
strTitle = SITE_NAME & "：首页"
Function ShowTitle()
	Response.Write strTitle
End Function

%>

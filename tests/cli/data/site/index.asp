<!--#include file="inc\conn.asp"-->
<!--#include virtual="/lib/util.asp"-->
<!--#include file="a\x.asp"-->
<!--#include file="A\X.ASP"-->
<%
Dim a
%>

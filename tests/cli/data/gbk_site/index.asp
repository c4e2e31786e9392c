<%@ Language=VBScript CodePage=936 %>
<!--#include file="inc/head.asp"-->
<% Response.Charset = "gb2312" %>
<h1>欢迎光临本站</h1>
<p>“引号”、【括号】、……省略号</p>
<!--#include virtual="/inc/foot.asp"-->
